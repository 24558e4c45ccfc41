#!/usr/bin/env bash
# `vsthost play` with its editor under Wine (run inside scripts/wine-windowed.sh), on ALSA's null
# device: real clicks on the program bar's next and previous buttons and a pick from its drop-down list
# change the plug-in's program, as the window's title shows; closing the window ends playback, exit 0.
#   vsthost-play-bar.sh VSTHOST MODULE
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
player=
trap 'kill $player 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "FAIL $*"; cat "$tmp/err"; exit 1; }
wait_for() { # seconds, command...: polls until the command succeeds
  local tries=$(($1 * 10)); shift
  until "$@" >/dev/null 2>&1; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.1; done
}

echo 'pcm.!default { type null }' >"$tmp/asound.conf"
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$tmp/asound.conf
mapfile -t names < <(wine "$tool" info "$module" | tr -d '\r' | sed -n -E 's/^program +[0-9]+ //p')
wine "$tool" play "$module" --program 5 2>"$tmp/err" &
player=$!
wait_for 60 sh -c "grep -q '^playing through' '$tmp/err' || ! kill -0 $player"
grep -q '^playing through' "$tmp/err" || fail "play did not start"
window=$(timeout 10 xdotool search --sync --name 'vsthost play' | head -1)
[ -n "$window" ] || fail "no player window"
eval "$(xdotool getwindowgeometry --shell "$window")" # X and Y: the bar's top left on the screen
shows() { wait_for 10 sh -c "xdotool getwindowname $window | grep -qF -- ' - $1'"; }
title() { xdotool getwindowname "$window"; }
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }

shows "${names[5]}" || fail "the title does not name program 5: $(title)"
click $((WIDTH - 10)) 10
shows "${names[6]}" || fail "next did not give program 6: $(title)"
click 10 10
shows "${names[5]}" || fail "previous did not give program 5: $(title)"
click 10 10
shows "${names[4]}" || fail "previous did not give program 4: $(title)"
echo "ok   next and previous step through the programs"

# The list drops down in a window of its own, with the current program in its top row of 12 px.
visible() { xdotool search --onlyvisible --class vsthost.exe | sort; }
before=$(visible)
click $((WIDTH / 2)) 10
wait_for 10 sh -c "[ \"\$(xdotool search --onlyvisible --class vsthost.exe | sort)\" != '$before' ]" ||
  fail "the program list did not drop down"
list=$(comm -13 <(echo "$before") <(visible) | head -1)
eval "$(xdotool getwindowgeometry --shell "$list")"
xdotool mousemove $((X + 50)) $((Y + 1 + 5 * 12 + 6)) click 1 # the sixth row
shows "${names[9]}" || fail "the list's sixth row did not give program 9: $(title)"
echo "ok   a pick from the list"

xdotool key alt+F4
wait "$player"
rc=$?
player=
[ "$rc" = 0 ] && grep -q '^played' "$tmp/err" || fail "closing the window: exit $rc"
echo "ok   closing the window ends playback"
