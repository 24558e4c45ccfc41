#!/usr/bin/env bash
# vsthost play with its editor (run under xvfb-run), into JACK's dummy driver and recorded with
# jack_capture: the program bar above the editor steps and picks programs, a mouse drag on
# "Base Freq" retunes what is heard, and closing the window ends playback with the short fade and exit 0.
set -u
tool=$1 module=$2
check=$(dirname "$0")/wav-check.py
. "$(dirname "$0")/jack-dummy.sh" "tpm-play-x11-$(basename "$module")"
bar=28 # the program bar's height, above the editor

# The bar: next, previous twice, then a pick from the list that opens over the editor; the window's
# title names the program the plug-in then has.
mapfile -t names < <("$tool" info "$module" | sed -n -E 's/^program +[0-9]+ //p') # any format
"$tool" play "$module" --program 5 2>"$tmp/bar.log" &
player=$!
wait_for 60 grep -q 'playing through' "$tmp/bar.log" || { fail "play did not start"; cat "$tmp/bar.log"; }
window=$(timeout 60 xdotool search --sync --name 'vsthost play' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
shows() { wait_for 30 sh -c "xdotool getwindowname $window | grep -qF -- ' - $1'"; }
shows "${names[5]}" || fail "bar: the title does not name program 5: $(xdotool getwindowname "$window")"
xdotool mousemove $((X + WIDTH - 10)) $((Y + 10)) click 1
shows "${names[6]}" || fail "bar: next did not give program 6: $(xdotool getwindowname "$window")"
xdotool mousemove $((X + 10)) $((Y + 10)) click 1 sleep 0.2 click 1
shows "${names[4]}" || fail "bar: previous did not give program 4: $(xdotool getwindowname "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1 sleep 0.3 \
  mousemove $((X + 100)) $((Y + bar + 9 * 18 + 9)) click 1 # the list's tenth row of 18 px
shows "${names[9]}" || fail "bar: the list did not give program 9: $(xdotool getwindowname "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1 sleep 0.3 \
  mousemove $((X + 100)) $((Y + bar + 9)) click --repeat 10 5 sleep 0.3 click 1 # 10 wheel steps of 3 rows
shows "${names[30]}" || fail "bar: the scrolled list did not give program 30: $(xdotool getwindowname "$window")"
xdotool windowclose "$window"
wait "$player"
rc=$?
player=
if [ "$rc" = 0 ] && [ "$failures" = 0 ]; then
  echo "ok   the program bar: next, previous, picks from the list, scrolled too"
else
  fail "the program bar: exit $rc"
fi

"$tool" play "$module" -p "Base Freq=200" -p "Binaural=10" -p "Fade=1" 2>"$tmp/play.log" &
player=$!
wait_for 60 grep -q 'playing through' "$tmp/play.log" || { fail "play did not start"; cat "$tmp/play.log"; }
window=$(timeout 60 xdotool search --sync --name 'vsthost play' | head -1)
[ -n "$window" ] || { echo "FAIL no player window"; cat "$tmp/play.log"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")" # X and Y: the editor's origin on the screen
knob_x=$((X + 48)) knob_y=$((Y + bar + 129))           # "Base Freq", as laid out in the editor

# A second of the start tone recorded, the drag, then more than a second of the new one.
record_start "$tmp/played.wav"
record_more "$tmp/played.wav" 1
xdotool mousemove $knob_x $knob_y mousedown 1 mousemove $knob_x $((knob_y - 10)) \
  mousemove $knob_x $((knob_y - 30)) mouseup 1 # upwards: a higher pitch
record_more "$tmp/played.wav" 1.3
xdotool windowclose "$window"
wait_for 60 sh -c "! kill -0 $player" || { fail "play still runs after its window closed"; kill -KILL "$player"; }
wait "$player"
rc=$?
player=
record_stop "$tmp/played.wav"
if [ "$rc" = 0 ] && grep -q 'underrun' "$tmp/play.log"; then
  echo "ok   window closed: $(grep underrun "$tmp/play.log")"
else
  fail "closing the window: exit $rc"; cat "$tmp/play.log"
fi
python3 "$check" retuned "$tmp/played.wav" 200 10 || failures=$((failures + 1))
python3 "$check" ramp "$tmp/played.wav" 50 || failures=$((failures + 1))
exit $failures
