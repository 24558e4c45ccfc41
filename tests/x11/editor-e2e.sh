#!/usr/bin/env bash
# The plug-in's own editor in a native X11 host, driven by real input (run under xvfb-run):
# default picture, 50 open/close cycles with two instances' editors at once, a host's changes shown
# while no audio runs, right-click entry of 440
# (then of text that is no number, which leaves it) and of a decimal comma, a wheel gesture, a list pick
# and a knob drag, each checked through the parameters the host reads back afterwards; and
# `vsthost editor --screenshot` natively.
#   editor-e2e.sh HOST MODULE OUTDIR [REFERENCE_PNG [VSTHOST]]
set -uo pipefail
host=$1 module=$2 out=$3 reference=${4:-} vsthost=${5:-}
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

shot="$out/editor-screenshot-x11.png"
"$host" "$module" --cycles 50 --instances 2 --seconds 1 --screenshot "$shot" >"$out/x11-e2e-cycles.log" 2>&1
rc=$? # in a sanitizer build, also whether the unloaded module left anything behind
check "50 open/close cycles leave no descriptors or memory behind (exit $rc)" \
  "[ $rc = 0 ] && grep -q '^READY' '$out/x11-e2e-cycles.log'"
if [ -n "$reference" ] && [ -f "$reference" ]; then
  differing=$(compare -metric AE "$shot" "$reference" null: 2>&1)
  check "native picture equals the drawing library's ($differing pixels differ)" '[ "$differing" = 0 ]'
fi
if [ -n "$vsthost" ]; then
  tool_shot="$out/editor-screenshot-vsthost.png"
  rm -f "$tool_shot"
  "$vsthost" editor "$module" --screenshot "$tool_shot" --after-ms 500 >"$out/x11-e2e-vsthost.log" 2>&1
  # vsthost resizes its window as the editor asks, so its editor shows the resize grip in the corner.
  corner() { convert "$1" -fill black -draw "rectangle 536,349 549,362" "$2"; }
  corner "$tool_shot" "$out/vsthost-masked.png" && corner "$shot" "$out/host-masked.png"
  differing=$(compare -metric AE "$out/vsthost-masked.png" "$out/host-masked.png" null: 2>&1)
  check "vsthost editor --screenshot shows the same picture, but for its grip ($differing pixels differ)" \
    '[ "$differing" = 0 ]'
  check "vsthost's editor shows the grip" "! compare -metric AE '$tool_shot' '$shot' null: 2>/dev/null"
fi

# A host that keeps the instance resumed without processing sets Base Freq, Binaural and LFO1 Sync
# while the editor is open: within its idle ticks the editor shows what it shows when they were set first.
"$host" "$module" --set 0=0.02 --set 1=0.05 --set 10=0 --ticks 30 --screenshot "$out/x11-set-first.png" \
  >"$out/x11-e2e-set.log" 2>&1
"$host" "$module" --set-open 0=0.02 --set-open 1=0.05 --set-open 10=0 --ticks 30 \
  --screenshot "$out/x11-set-open.png" >>"$out/x11-e2e-set.log" 2>&1
differing=$(compare -metric AE "$out/x11-set-open.png" "$out/x11-set-first.png" null: 2>&1)
check "values a host sets with no audio running show at once ($differing pixels differ)" '[ "$differing" = 0 ]'

log="$out/x11-e2e-input.log"
"$host" "$module" --seconds 7 --print-params >"$log" 2>&1 &
pid=$!
for _ in $(seq 50); do grep -q '^READY' "$log" && break; sleep 0.1; done
step() { xdotool "$@"; sleep 0.3; }
step mousemove 50 130 click 3             # "Base Freq": the entry field
step type 440
step key Return
step mousemove 50 130 click 3             # again, with text that is no number
step type abc
step key Return
step mousemove 122 130 click 3            # "Binaural", with a decimal comma
step type 136,1
step key Return
step mousemove 500 128 click 4 click 4 click 4 # "Mix": three wheel notches up
step mousemove 198 128 click 3            # "Wave": the choice list
step mousemove 198 193 click 1            # its fourth entry
step mousemove 350 130 mousedown 1 mousemove 350 120 mousemove 350 100 mouseup 1 # "Fade": drag up
wait "$pid"
check "typed 440 reaches Base Freq, and text that is no number leaves it" "grep -q '^Base Freq=440.0$' '$log'"
check "a decimal comma reads as a point" "grep -q '^Binaural=136.10$' '$log'"
check "wheel moves Mix" "grep -q '^Mix=' '$log' && ! grep -q '^Mix=50$' '$log'"
check "list pick sets Wave" "grep -q '^Wave=Square$' '$log'"
check "drag moves Fade" "grep -q '^Fade=' '$log' && ! grep -q '^Fade=1000$' '$log'"
exit "$fail"
