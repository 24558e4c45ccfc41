# Sourced by the player tests with a server name of the test's own, the same at every run: JACK's
# registry keeps the entry of a server that was killed and takes it back only for the same name, and
# with eight names taken it starts no server at all. Gives a scratch folder, failure counting, waiting
# for events, recordings that start and stop on events, and the JACK server on the dummy driver, all
# cleaned up on exit (with the player and a recording, if the test started them into $player and
# $capture).
tmp=$(mktemp -d)
export JACK_NO_AUDIO_RESERVATION=1 JACK_DEFAULT_SERVER=$1
server= player= capture=
trap 'kill $server $player $capture 2>/dev/null; wait; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# Polls until the command succeeds. The limit only ends a test that would hang: on a busy machine an
# event may come late, and a late event is no failure.
wait_for() { # seconds, command...
  local tries=$(($1 * 10)); shift
  until "$@" >/dev/null 2>&1; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.1; done
}

# What the server plays, recorded from now until record_stop, so that a recording holds the whole of
# whatever was played meanwhile, however slowly the machine starts or stops things.
record_start() { # wav file
  jack_capture -ns -dc -f wav -c 2 "$1" >/dev/null 2>&1 &
  capture=$!
  wait_for 60 sh -c 'jack_lsp -c | grep -q "^jack_capture"' || fail "jack_capture did not connect"
}
# Waits until the recording holds this many more seconds of sound than it did when asked.
record_more() { # wav file, seconds
  local want
  want=$(($(stat -c %s "$1" 2>/dev/null || echo 0) + $(awk -v s="$2" 'BEGIN { printf "%d", s * 48000 * 8 }')))
  wait_for 120 sh -c "[ \$(stat -c %s '$1' 2>/dev/null || echo 0) -ge $want ]" ||
    fail "the recording did not grow by $2 s"
}
# Stopped only once two more seconds are on disk: jack_capture drops what it has not yet written
# when interrupted, and on a busy machine its writing lags behind the sound.
record_stop() { # wav file
  record_more "$1" 2
  kill -INT "$capture"
  wait "$capture"
  capture=
}

# Synchronous, with a long client timeout: the dummy driver then waits for a late client rather than
# dropping its cycle, so that a busy machine leaves no gaps in the recordings.
jackd --no-realtime --sync --timeout 10000 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$tmp/jackd.log" 2>&1 &
server=$!
wait_for 60 jack_lsp system:playback_1 || { echo "FAIL the JACK server did not start:"; cat "$tmp/jackd.log"; exit 1; }
