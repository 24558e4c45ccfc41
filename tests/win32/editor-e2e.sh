#!/usr/bin/env bash
# The plug-in's own editor under Wine and Xvfb, driven with real input (run inside
# scripts/wine-windowed.sh): 50 open/close cycles with two instances' editors at once (one window
# class, no handles or memory left), the default picture against the reference, a host's changes shown
# while no audio runs, then in
# `vsthost editor` a drag, a typed entry, a wheel gesture and a list pick, checked through the host's
# log and final parameters.
#   editor-e2e.sh VSTHOST EDITOR_HOST MODULE OUTDIR REFERENCE_PNG
set -uo pipefail
here=$(dirname "$0")
vsthost=$1 host=$2 module=$3 out=$4 reference=$5
source "$here/editor-session.sh"
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

shot="$out/editor-screenshot-win64.png"
rm -f "$shot"
wine "$host" "$(_winpath "$module")" --cycles 50 --instances 2 --seconds 1.5 --screenshot "$(_winpath "$shot")" \
  2>&1 | tr -d '\r' >"$out/win64-e2e-cycles.log"
check "two editors at once share one window class, gone with the last" \
  "grep -q \"^WINDOW CLASS 'IEffectWndClass' shared by 2 editors: yes\" '$out/win64-e2e-cycles.log'"
check "50 open/close cycles leave no handles or memory behind ($(grep CYCLES "$out/win64-e2e-cycles.log"))" \
  "grep -q '^READY' '$out/win64-e2e-cycles.log'"
check "the editor paints the reference picture" \
  "bash '$here/../editor/compare-screenshots.sh' '$shot' '$reference'"

# A host that keeps the instance resumed without processing sets Base Freq, Binaural and LFO1 Sync
# while the editor is open: within its idle ticks the editor shows what it shows when they were set first.
: >"$out/win64-e2e-set.log"
for when in set set-open; do
  wine "$host" "$(_winpath "$module")" --$when 0=0.02 --$when 1=0.05 --$when 10=0 --ticks 30 \
    --screenshot "$(_winpath "$out/win64-$when.png")" >>"$out/win64-e2e-set.log" 2>&1
done
differing=$(compare -metric AE "$out/win64-set-open.png" "$out/win64-set.png" null: 2>&1)
check "values a host sets with no audio running show at once ($differing pixels differ)" '[ "$differing" = 0 ]'

EDITOR_EXTRA=--print-params
# The screenshot is only a time limit here: closing the window ends the session.
editor_start "$vsthost" "$module" "$EDITOR_DIR/input.png" 30000 || exit 1
log="$EDITOR_DIR/stderr"
editor_drag 48 129 48 100 # "Base Freq" up
# What the host saw up to the first end-edit, each run of the same message once.
first_gesture() { sed -n "1,/end-edit parameter $1/p" "$log" | tr -d '\r' | sed 's/ = .*//' | uniq | tr '\n' '|'; }
check "a drag on Base Freq is begin-edit, automation, end-edit" \
  "editor_wait_log 'end-edit parameter 0' &&
   [ \"\$(first_gesture 0)\" = 'host: begin-edit parameter 0|host: automate parameter 0|host: end-edit parameter 0|' ]"
editor_click 48 129 3 # its entry field
sleep 0.3
editor_type 440
editor_key Return
editor_wheel 501 129 UP # one notch on "Mix"; its end-edit follows 12 frames later
check "a wheel notch on Mix is one gesture" \
  "editor_wait_log 'end-edit parameter 7' && [ \$(grep -c 'begin-edit parameter 7' '$log') = 1 ] &&
   [ \$(grep -c 'end-edit parameter 7' '$log') = 1 ]"
editor_click 100 222 # the LFO1 target list opens below its button, rows of 18 pixels
sleep 0.3
editor_click 120 275 # its third row
check "the list pick reaches the host" "editor_wait_log 'automate parameter 8 '"
editor_key alt+F4
wait "$EDITOR_PID"
params="$EDITOR_DIR/params"
tr -d '\r' <"$EDITOR_DIR/stdout" >"$params"
check "typed 440 sets Base Freq" "grep -qx 'Base Freq=440.0' '$params'"
check "the pick sets LFO1 Target" "grep -qx 'LFO1 Target=Binaural' '$params'"
[ "$failed" = 0 ] || { echo "host log:"; cat "$log"; echo "host output:"; cat "$params"; }
exit "$failed"
