#!/usr/bin/env bash
# The LV2 editor in a real host: jalv (its GTK front end, on a JACK dummy server, under xvfb-run) embeds
# the editor module; its picture matches the VST2 editor's, and a drag on the "Binaural" knob reaches the
# plug-in through the port alone: the band the plug-in reports on its output port follows. Under
# GDK_SCALE=2 (passed on as ui:scaleFactor, or read by the editor itself) the editor opens at 2x.
#   jalv-editor.sh VSTHOST VST2_MODULE BUNDLE_FOLDER
set -u
tool=$1 vst2=$2 bundle=$3
here=$(cd "$(dirname "$0")" && pwd)
uri=https://www.twinpulsetonemix.org/plugins/twinPulseToneMix
source "$here/../tools/jack-dummy.sh" "lv2-jalv"
passes=0
pass() { echo "ok   $*"; passes=$((passes + 1)); }
finish() { echo "$passes passed, $failures failed"; [ "$failures" = 0 ]; exit; }
jalv=$(command -v jalv.gtk3 || command -v jalv.gtk) || { fail "no jalv GTK front end"; finish; }
mkdir "$tmp/path" && ln -s "$(cd "$bundle" && pwd)" "$tmp/path/twinPulseToneMix.lv2"

LV2_PATH=$tmp/path "$jalv" --print-controls "$uri" >"$tmp/jalv.txt" 2>"$tmp/jalv.log" &
player=$!
# The editor's own window: the one of the editor's size (jalv's top-level window holds a menu too).
editor_window() { # [size]
  for w in $(xdotool search --name twinPulseToneMix 2>/dev/null); do
    xdotool getwindowgeometry "$w" | grep -q "Geometry: ${1:-550x363}" && { echo "$w"; return 0; }
  done
  return 1
}
wait_for 60 editor_window || { fail "jalv shows no editor: $(cat "$tmp/jalv.log")"; finish; }
window=$(editor_window)
pass "jalv embeds the editor"
band() { grep -a '^band = ' "$tmp/jalv.txt" | tail -1 | cut -d' ' -f3; }
has_band() { [ -n "$(band)" ]; }
wait_for 60 has_band || fail "jalv reports no band"

start=$SECONDS result=
# Shot until it matches (jalv may still be drawing the first frames), or 60 s have shown it never will.
"$tool" editor "$vst2" --screenshot "$tmp/vst2.png" --after-ms 500 >"$tmp/vst2-editor.log" 2>&1
matches() {
  import -window "$window" "$tmp/lv2.png" && result=$(bash "$here/../editor/compare-screenshots.sh" "$tmp/vst2.png" "$tmp/lv2.png")
}
matched=1
until matches; do [ "$SECONDS" -gt $((start + 60)) ] && { matched=0; break; }; sleep 0.2; done
if [ "$matched" = 1 ]; then
  pass "the LV2 editor looks like the VST2 editor ($result)"
else
  fail "the LV2 editor differs from the VST2 editor: $result"
fi

# "Binaural" from 4 Hz (THETA, band 4) up: the knob's drag goes out through the port only.
before=$(band)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 122)) $((Y + 130)) mousedown 1 mousemove $((X + 122)) $((Y + 120)) \
  mousemove $((X + 122)) $((Y + 100)) mouseup 1
moved() { [ "$(band)" != "$before" ]; }
if wait_for 60 moved; then
  pass "a drag on Binaural changes the band jalv reports ($before -> $(band))"
else
  fail "the band stayed at $before after the drag"
fi

kill "$player" && wait "$player" 2>/dev/null
GDK_SCALE=2 LV2_PATH=$tmp/path "$jalv" "$uri" >/dev/null 2>"$tmp/jalv-scaled.log" &
player=$!
if wait_for 60 editor_window 1100x726; then
  pass "under GDK_SCALE=2 jalv shows the editor at 1100x726"
else
  fail "under GDK_SCALE=2 jalv shows no 1100x726 editor: $(cat "$tmp/jalv-scaled.log")"
fi
finish
