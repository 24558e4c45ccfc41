#!/usr/bin/env bash
# vsthost play into a real audio server: JACK with its dummy driver, our output recorded with
# jack_capture as a listener would hear it. Also: no device at all gives one line and a failure.
set -u
tool=$1 module=$2
check=$(dirname "$0")/wav-check.py
tmp=$(mktemp -d)
export JACK_NO_AUDIO_RESERVATION=1 JACK_DEFAULT_SERVER=tpm-play-$$
server=
trap '[ -n "$server" ] && kill "$server"; wait; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
wait_for() { # seconds, command...: polls until the command succeeds
  local tries=$(($1 * 10)); shift
  until "$@" >/dev/null 2>&1; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.1; done
}

"$tool" play "$module" --no-editor >/dev/null 2>"$tmp/err"
rc=$?
if [ "$rc" = 0 ] || [ "$rc" -gt 128 ] || [ "$(grep -c . "$tmp/err")" != 1 ]; then
  fail "no device: exit $rc"; cat "$tmp/err"
else
  echo "ok   no device: $(cat "$tmp/err")"
fi

jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >"$tmp/jackd.log" 2>&1 &
server=$!
wait_for 10 jack_lsp system:playback_1 || { echo "FAIL the JACK server did not start"; exit 1; }
tones=(-p "Base Freq=200" -p "Binaural=10" -p "Fade=1") # no glide from the defaults
"$tool" render "$module" -o "$tmp/offline.wav" -s 1 -q "${tones[@]}"
level=$(python3 "$check" level "$tmp/offline.wav")

# Plays until SIGTERM one second before a recording of SECONDS ends; exit 0 with the underrun report.
play_until_term() { # recording, seconds, play options...
  local wav=$1 seconds=$2 player capture rc; shift 2
  "$tool" play "$module" --no-editor "$@" 2>"$wav.log" &
  player=$!
  wait_for 10 grep -q 'playing through' "$wav.log" || fail "play did not start"
  jack_capture -d "$seconds" -f wav -c 2 "$wav" >/dev/null 2>&1 &
  capture=$!
  sleep $((seconds - 1))
  kill -TERM "$player"
  wait "$player"
  rc=$?
  wait "$capture"
  [ "$rc" = 0 ] && grep -q 'underrun' "$wav.log" || { fail "SIGTERM: exit $rc"; cat "$wav.log"; }
}

# The tones as rendered offline, then a 50 ms ramp to silence.
play_until_term "$tmp/term.wav" 3 "${tones[@]}"
python3 "$check" tones "$tmp/term.wav" 200 210 "$level" || failures=$((failures + 1))
python3 "$check" ramp "$tmp/term.wav" 50 || failures=$((failures + 1))

# An input file at 44.1 kHz, looped and resampled to the server's 48 kHz, passed through at Mix 0.
"$tool" render "$module" -o "$tmp/input.wav" -r 44100 -s 0.3 -q -p "Base Freq=1000" -p "Binaural=0" \
  -p "Fade=1" -p "Mix=100"
play_until_term "$tmp/input-played.wav" 3 -p "Mix=0" --input "$tmp/input.wav"
python3 "$check" tones "$tmp/input-played.wav" 1000 1000 "$(python3 "$check" level "$tmp/input.wav")" ||
  failures=$((failures + 1))

# A 3 s sleep timer: shorter than the 30 s fade, so the fade takes all of it; then exit 0.
jack_capture -d 5 -f wav -c 2 "$tmp/sleep.wav" >/dev/null 2>&1 &
capture=$!
sleep 0.5
timeout 20 "$tool" play "$module" --no-editor "${tones[@]}" --sleep 0.05 2>"$tmp/sleep.log"
rc=$?
wait "$capture"
[ "$rc" = 0 ] || { fail "--sleep: exit $rc"; cat "$tmp/sleep.log"; }
python3 "$check" fade "$tmp/sleep.wav" 3 || failures=$((failures + 1))
exit $failures
