#!/usr/bin/env bash
# The LV2 bundle as hosts read it: its TTL passes sord_validate against the LV2 schemas Debian installs,
# and lilv finds the plug-in with its ports (23 control inputs, 4 audio ports, the event port taking
# time:Position, the display outputs) with a name of its own for each control, its editor and its 141
# factory presets.
#   bundle.sh BUNDLE_FOLDER
set -u
bundle=$1
uri=https://www.twinpulsetonemix.org/plugins/twinPulseToneMix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0 passes=0
check() { # what, command...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; passes=$((passes + 1)); else echo "FAIL $what"; failures=$((failures + 1)); fi
}

schemas=()
for vocabulary in schemas core atom buf-size options port-groups port-props presets state time ui units urid parameters; do
  schemas+=(/usr/lib/lv2/$vocabulary.lv2/*.ttl)
done
sord_validate "${schemas[@]}" "$bundle"/*.ttl >"$tmp/validate.txt" 2>&1
check "sord_validate: $(tail -1 "$tmp/validate.txt")" grep -q "^Found 0 errors" "$tmp/validate.txt"

# lilv reads only bundles on LV2_PATH; the build folder holds much else, so the bundle alone goes there.
mkdir "$tmp/path" && ln -s "$(cd "$bundle" && pwd)" "$tmp/path/twinPulseToneMix.lv2"
LV2_PATH=$tmp/path lv2info "$uri" >"$tmp/info.txt" 2>&1
check "lv2info finds the plug-in" grep -q "Binary: *file://.*/twinPulseToneMix.so" "$tmp/info.txt"

# One port a record: its classes and symbol on one line.
awk '/^\tPort [0-9]+:/ {if (p) print p; p=""} /^\t\t(Type:|Symbol:)/ || /^\t\t +http/ {p=p" "$NF} END {print p}' \
  "$tmp/info.txt" >"$tmp/ports.txt"
ports() { grep -- "$1" "$tmp/ports.txt" | grep -c -- "$2"; }
check "23 control inputs" [ "$(ports InputPort ControlPort)" = 23 ]
check "2 audio inputs and 2 audio outputs" [ "$(ports InputPort AudioPort) $(ports OutputPort AudioPort)" = "2 2" ]
check "an event port" [ "$(ports InputPort AtomPort)" = 1 ]
sordi "file://$(cd "$bundle" && pwd)/twinPulseToneMix.ttl" >"$tmp/triples.nt" 2>/dev/null
check "the event port takes time:Position" \
  grep -q "<http://lv2plug.in/ns/ext/atom#supports> <http://lv2plug.in/ns/ext/time#Position>" "$tmp/triples.nt"
check "6 outputs: band, both LFOs' marker and state, and the editor's kept scale" \
  [ "$(ports OutputPort ControlPort)" = 6 ]
check "the symbols are the product's parameter ids" grep -q " baseFreq$" "$tmp/ports.txt"
# Hosts list the control ports by name: each of the 23 has one of its own.
awk '/^\tPort [0-9]+:/ {port=$2+0} /^\t\tName:/ && port < 23 {sub(/^\t\tName: */, ""); print}' "$tmp/info.txt" \
  >"$tmp/names.txt"
check "23 control inputs, each with a name of its own" \
  [ "$(grep -c . "$tmp/names.txt") $(sort -u "$tmp/names.txt" | grep -c .)" = "23 23" ]
check "the editor is an X11 UI" grep -q "Class: *http://lv2plug.in/ns/extensions/ui#X11UI" "$tmp/info.txt"
presets=$(sed -n '/^\tPresets:/,/^\t[A-Z]/p' "$tmp/info.txt" | grep -c $'^\t  ')
check "141 presets (found $presets)" [ "$presets" = 141 ]
check "presets carry the factory names" grep -q "Schumann Resonance" "$tmp/info.txt"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
