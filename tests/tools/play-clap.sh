#!/usr/bin/env bash
# vsthost play with a CLAP module (run under xvfb-run), into JACK's dummy driver: the plug-in's
# editor timer and descriptor are serviced while the device thread processes, the gesture the
# editor makes goes out through process and is logged by the main thread, the host's thread rules
# hold, and closing the window ends playback cleanly.
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
export JACK_NO_AUDIO_RESERVATION=1 JACK_DEFAULT_SERVER=tpm-play-clap-$$
server= player=
trap 'kill $server $player 2>/dev/null; wait; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
wait_for() { # seconds, command...: polls until the command succeeds
  local tries=$(($1 * 10)); shift
  until "$@" >/dev/null 2>&1; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.1; done
}

jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$tmp/jackd.log" 2>&1 &
server=$!
wait_for 10 jack_lsp system:playback_1 || { echo "FAIL the JACK server did not start"; exit 1; }

"$tool" --log-automation play "$module" -p Gain=-6 2>"$tmp/play.log" &
player=$!
wait_for 10 grep -q 'playing through' "$tmp/play.log" || fail "play did not start"
window=$(timeout 5 xdotool search --sync --name 'vsthost play' | head -1)
[ -n "$window" ] || { echo "FAIL no player window"; cat "$tmp/play.log"; exit 1; }
if wait_for 5 grep -q 'end-edit parameter 0' "$tmp/play.log" &&
  [ "$(grep '^host:' "$tmp/play.log" | tr '\n' '/')" = \
    "host: begin-edit parameter 0/host: automate parameter 0 = 6.000000/host: end-edit parameter 0/" ]; then
  echo "ok   the editor's gesture went out through process and was logged"
else
  fail "gesture while playing:"; cat "$tmp/play.log"
fi
xdotool windowclose "$window"
wait_for 10 sh -c "! kill -0 $player" || { fail "play still runs after its window closed"; kill -KILL "$player"; }
wait "$player"
rc=$?
player=
if [ "$rc" = 0 ] && grep -q '^played ' "$tmp/play.log" && ! grep -q 'plug-in error' "$tmp/play.log"; then
  echo "ok   closed cleanly, thread rules kept"
else
  fail "ending: exit $rc"; cat "$tmp/play.log"
fi
exit $failures
