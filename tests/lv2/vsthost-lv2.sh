#!/usr/bin/env bash
# vsthost hosts the LV2 bundle through lilv: its info and parameters come from the bundle's data and
# the plug-in's own display texts, and its renders are the VST2 module's samples with the same
# settings, in blocks of any size, with a factory program, with LFOs synced to a transport the host
# sends as time:Position, and with schedules and the VST2 build's preset files.
#   vsthost-lv2.sh VSTHOST VST2_MODULE BUNDLE_FOLDER
set -u
tool=$1 vst2=$2 bundle=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0 passes=0
pass() { echo "ok   $*"; passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

same() { # what, render options...
  local what=$1; shift
  "$tool" render "$vst2" -q -o "$tmp/vst2.f32" "$@" 2>"$tmp/vst2.log" || { fail "$what: VST2 render"; return; }
  "$tool" render "$bundle" -q -o "$tmp/lv2.f32" "$@" 2>"$tmp/lv2.log" \
    || { fail "$what: LV2 render: $(cat "$tmp/lv2.log")"; return; }
  local result; result=$("$tool" compare "$tmp/vst2.f32" "$tmp/lv2.f32")
  case $result in *"largest difference 0") pass "$what: $result" ;; *) fail "$what: $result" ;; esac
}
same "default program" -s 1
same "factory program 7, blocks of 256" -s 1 -b 256 --program 7
same "synced LFO at 120 BPM, playing" -s 2 -t 120 -p "LFO1 Target=Base Freq" -p "LFO1 Sync=Yes"
same "synced LFOs at 97 BPM from a second in, blocks of 100" -s 2 -t 97 -b 100 --preroll 1 \
  -p "LFO1 Target=Binaural Pan" -p "LFO2 Target=Volume" -p "#18=1/4T"
same "synced LFO, transport stopped" -s 2 -t 120 --stopped -p "LFO1 Target=Base Freq" -p "LFO1 Sync=Yes"
same "text settings" -s 1 -p "Base Freq=333" -p "Beats=monaural" -p "Mix=25 %"

"$tool" info "$bundle" >"$tmp/info.txt" 2>&1
if grep -q "^format: LV2" "$tmp/info.txt" && grep -q "^programs: 141" "$tmp/info.txt" \
  && grep -q "^parameters: 23" "$tmp/info.txt"; then
  pass "info: LV2, 141 programs, 23 parameters"
else
  fail "info: $(cat "$tmp/info.txt")"
fi
# The same units, ranges and display texts as the VST2 build, as the plug-in writes them; the names
# are each their own, where VST2 keeps two alike per LFO and leaves the hidden trigger nameless.
"$tool" params "$vst2" | cut -d'|' -f1,3- >"$tmp/vst2-params.txt"
"$tool" params "$bundle" | cut -d'|' -f1,3- >"$tmp/lv2-params.txt"
if diff "$tmp/vst2-params.txt" "$tmp/lv2-params.txt" >"$tmp/diff.txt"; then
  pass "params: the same units, ranges and texts"
else
  fail "params differ:"; cat "$tmp/diff.txt"
fi
"$tool" params "$bundle" | tail -n +2 | cut -d'|' -f2 >"$tmp/names.txt"
if ! grep -q 'set as' "$tmp/names.txt" && [ "$(sort -u "$tmp/names.txt" | wc -l)" = 23 ]; then
  pass "params: every parameter has a name of its own"
else
  fail "params: names shared or missing: $(cat "$tmp/names.txt")"
fi
settings=(-p "Base Freq=333" -p "Binaural=0" -p "Mix=25" -p "Wave=Triangle")
"$tool" info "$vst2" "${settings[@]}" | grep '^param' | grep -v '^param 22 ' | cut -d'|' -f1,3 |
  sed -E 's/^(param +[0-9]+) .*\|/\1 |/' >"$tmp/vst2-info.txt"
"$tool" info "$bundle" "${settings[@]}" | grep '^param' | grep -v '^param 22 ' | cut -d'|' -f1,3 |
  sed -E 's/^(param +[0-9]+) .*\|/\1 |/' >"$tmp/lv2-info.txt"
if diff "$tmp/vst2-info.txt" "$tmp/lv2-info.txt" >"$tmp/diff.txt"; then
  pass "info: the same display texts after the same settings"
else
  fail "info display texts differ:"; cat "$tmp/diff.txt"
fi
"$tool" params "$bundle" | grep -q "one of: Sine, Triangle, Saw" && pass "params: lists from the scale points" \
  || fail "params: no list texts"

# Schedules and the VST2 build's preset files, as format-vs-vst2.sh checks every format.
bash "$(dirname "$0")/../tools/format-vs-vst2.sh" "$tool" "$vst2" "$bundle" files-only &&
  pass "schedules and preset files as in the VST2 build" || fail "schedules and preset files"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
