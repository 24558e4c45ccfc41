#!/usr/bin/env bash
# vsthost play with a CLAP module (run under xvfb-run), into JACK's dummy driver: the plug-in's
# editor timer and descriptor are serviced while the device thread processes, the gesture the
# editor makes goes out through process and is logged by the main thread, the host's thread rules
# hold, and closing the window ends playback cleanly.
set -u
tool=$1 module=$2
. "$(dirname "$0")/jack-dummy.sh" "tpm-play-clap-$(basename "$module")"

"$tool" --log-automation play "$module" -p Gain=-6 2>"$tmp/play.log" &
player=$!
wait_for 60 grep -q 'playing through' "$tmp/play.log" || fail "play did not start"
window=$(timeout 60 xdotool search --sync --name 'vsthost play' | head -1)
[ -n "$window" ] || { echo "FAIL no player window"; cat "$tmp/play.log"; exit 1; }
if wait_for 60 grep -q 'end-edit parameter 0' "$tmp/play.log" &&
  [ "$(grep '^host:' "$tmp/play.log" | tr '\n' '/')" = \
    "host: begin-edit parameter 0/host: automate parameter 0 = 6.000000/host: end-edit parameter 0/" ]; then
  echo "ok   the editor's gesture went out through process and was logged"
else
  fail "gesture while playing:"; cat "$tmp/play.log"
fi
xdotool windowclose "$window"
wait_for 60 sh -c "! kill -0 $player" || { fail "play still runs after its window closed"; kill -KILL "$player"; }
wait "$player"
rc=$?
player=
if [ "$rc" = 0 ] && grep -q '^played ' "$tmp/play.log" && ! grep -q 'plug-in error' "$tmp/play.log"; then
  echo "ok   closed cleanly, thread rules kept"
else
  fail "ending: exit $rc"; cat "$tmp/play.log"
fi
exit $failures
