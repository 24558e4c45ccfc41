#!/usr/bin/env bash
# vsthost play into a real audio server: JACK with its dummy driver, our output recorded with
# jack_capture as a listener would hear it. Also: no device at all gives one line and a failure;
# stop signals at any moment; a long input file streamed; clipping reported; keys on a terminal.
set -u
tool=$1 module=$2
check=$(dirname "$0")/wav-check.py
. "$(dirname "$0")/jack-dummy.sh" "tpm-play-$(basename "$module")"

# A server that does not run: no device at all gives one line and a failure.
JACK_DEFAULT_SERVER=tpm-none-$$ "$tool" play "$module" --no-editor >/dev/null 2>"$tmp/err"
rc=$?
if [ "$rc" = 0 ] || [ "$rc" -gt 128 ] || [ "$(grep -c . "$tmp/err")" != 1 ]; then
  fail "no device: exit $rc"; cat "$tmp/err"
else
  echo "ok   no device: $(cat "$tmp/err")"
fi

tones=(-p "Base Freq=200" -p "Binaural=10" -p "Fade=1") # no glide from the defaults
"$tool" render "$module" -o "$tmp/offline.wav" -s 1 -q "${tones[@]}"
level=$(python3 "$check" level "$tmp/offline.wav")

# A zero sleep timer would play nothing: refused.
timeout 10 "$tool" play "$module" --no-editor --sleep 0 >/dev/null 2>"$tmp/err"
rc=$?
[ "$rc" = 1 ] && grep -q -- '--sleep' "$tmp/err" || { fail "--sleep 0: exit $rc"; cat "$tmp/err"; }

# Plays until SIGTERM once SECONDS of it are recorded; exit 0 with the underrun report. The recording
# runs from before the player starts to after it ends.
play_until_term() { # recording, seconds, play options...
  local wav=$1 seconds=$2 rc; shift 2
  record_start "$wav"
  "$tool" play "$module" --no-editor "$@" 2>"$wav.log" &
  player=$!
  wait_for 60 grep -q 'playing through' "$wav.log" || fail "play did not start"
  record_more "$wav" "$seconds"
  kill -TERM "$player"
  wait "$player"
  rc=$?
  player=
  record_stop "$wav"
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
record_start "$tmp/sleep.wav"
timeout 120 "$tool" play "$module" --no-editor "${tones[@]}" --sleep 0.05 2>"$tmp/sleep.log"
rc=$?
record_stop "$tmp/sleep.wav"
[ "$rc" = 0 ] || { fail "--sleep: exit $rc"; cat "$tmp/sleep.log"; }
python3 "$check" fade "$tmp/sleep.wav" 3 || failures=$((failures + 1))
# Ctrl-C, SIGTERM or a closing terminal (SIGHUP) at any moment, the first instants included, while
# the audio server's client starts: a fade and exit 0 with the closing report, never a lost device.
stops=0 before=$failures
for stop in 0:INT 0:TERM 0.05:INT 0.1:TERM 0.13:INT 0.15:TERM 0.17:INT 0.18:TERM 0.19:INT 0.2:TERM 0.25:INT 0.3:TERM \
  0.1:HUP 0.19:HUP 1:HUP; do
  delay=${stop%:*} signal=${stop#*:}
  "$tool" play "$module" --no-editor "${tones[@]}" 2>"$tmp/stop.log" &
  player=$!
  # Counted from when the plug-in is loaded: before, the process may not even be running our code.
  wait_for 60 grep -q twinPulseToneMix "/proc/$player/maps"
  sleep "$delay"
  kill -"$signal" "$player"
  wait_for 60 sh -c "! kill -0 $player" || kill -KILL "$player"
  wait "$player"
  rc=$?
  stops=$((stops + 1))
  [ "$rc" = 0 ] && grep -q 'underrun' "$tmp/stop.log" ||
    { fail "SIG$signal after $delay s: exit $rc"; cat "$tmp/stop.log"; }
done
[ "$failures" = "$before" ] && echo "ok   $stops stops by signal, each ending with exit 0 and the report"

# One hour of input at 44.1 kHz (a sparse WAV, written at once): streamed, so memory stays small
# while it plays (the whole file would take 1.2 GB as samples); resampled to the server's 48 kHz.
python3 - "$tmp/hour.wav" <<'EOF2'
import struct, sys
data = 3600 * 44100 * 2
with open(sys.argv[1], "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, 44100, 88200, 2, 16) + b"data" + struct.pack("<I", data))
    f.truncate(44 + data)
EOF2
record_start "$tmp/hour-played.wav"
"$tool" play "$module" --no-editor --input "$tmp/hour.wav" >/dev/null 2>"$tmp/hour.log" &
player=$!
if wait_for 60 grep -q 'playing through' "$tmp/hour.log"; then
  record_more "$tmp/hour-played.wav" 1
  peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$player/status") # JACK's shared memory is ~105 MB of it
  kill -TERM "$player"
  wait "$player"
  rc=$?
  if [ "$rc" = 0 ] && [ "$peak_kb" -lt 200000 ]; then
    echo "ok   an hour's input: playing, peak memory $peak_kb kB"
  else
    fail "an hour's input: exit $rc, peak memory $peak_kb kB"
    cat "$tmp/hour.log"
  fi
else
  fail "an hour's input: not playing"
  kill -KILL "$player"
  wait "$player"
fi
player=
record_stop "$tmp/hour-played.wav"

# A monaural mix above 50 % goes past full scale: the level stays, and the report says so.
play_until_term "$tmp/mono.wav" 2 -p "Beats=Monaural" -p "Mix=100"
if grep -Eq 'samples beyond full scale .*peak \+6\.0 dBFS' "$tmp/mono.wav.log"; then
  echo "ok   clipping reported: $(grep 'full scale' "$tmp/mono.wav.log")"
else
  fail "monaural clipping not reported"; cat "$tmp/mono.wav.log"
fi

# The terminal's keys and status line, on a pty of its own.
python3 "$(dirname "$0")/play-keys.py" "$tool" "$module" || failures=$((failures + 1))
exit $failures
