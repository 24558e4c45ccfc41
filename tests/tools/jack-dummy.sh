# Sourced by the player tests with a server name: a scratch folder, failure counting, polling, and a
# JACK server of this run's own on the dummy driver, all cleaned up on exit (with the player, if the
# test started one into $player).
tmp=$(mktemp -d)
export JACK_NO_AUDIO_RESERVATION=1 JACK_DEFAULT_SERVER=$1-$$
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
