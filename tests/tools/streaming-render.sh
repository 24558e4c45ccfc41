#!/usr/bin/env bash
# Rendering as a stream: peak memory does not grow with the length, an input at another rate keeps
# its pitch and length, --preroll and --fade-out give clean edges, the progress line stays out of
# logs, and a bare module name means the file in the current folder.
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# Zero crossings upward per second of a raw float32 file's channel (of so many channels).
crossings() { # file, channels, channel, first second, last second, rate
  python3 -c "
import array,sys
a=array.array('f'); a.frombytes(open(sys.argv[1],'rb').read())
ch,c,rate=int(sys.argv[2]),int(sys.argv[3]),int(sys.argv[6])
x=a[c::ch][int(float(sys.argv[4])*rate):int(float(sys.argv[5])*rate)]
print(round(sum(1 for i in range(1,len(x)) if x[i-1]<0<=x[i])/(len(x)/rate)))" "$@"
}

peak_kb() { # seconds
  /usr/bin/time -f %M "$tool" render "$module" -q -r 8000 -p Mix=0 -s "$1" -o "$tmp/long.flac" 2>&1 >/dev/null | tail -n 1
}
short=$(peak_kb 10) long=$(peak_kb 1800)
# AddressSanitizer's shadow memory puts the tool itself near 64 MB: there only the growth counts.
cap=65536
[ -n "${ASAN_OPTIONS:-}" ] && cap=$((long + 1))
if [ "$long" -lt $((short + 1024)) ] && [ "$long" -lt "$cap" ]; then
  echo "ok   peak memory: $short KB for 10 s, $long KB for 30 min"
else
  fail "peak memory grows with length: $short KB for 10 s, $long KB for 30 min"
fi

python3 -c "
import math,struct,sys,wave
w=wave.open(sys.argv[1],'wb'); w.setnchannels(1); w.setsampwidth(2); w.setframerate(96000)
w.writeframes(b''.join(struct.pack('<h',int(16000*math.sin(2*math.pi*1000*i/96000))) for i in range(96000)))
" "$tmp/in96.wav"
"$tool" render "$module" -q -i "$tmp/in96.wav" -r 48000 -c 1 -p Beats=Monaural -p Mix=0 -o "$tmp/out48.f32"
frames=$(($(stat -c %s "$tmp/out48.f32") / 4)) pitch=$(crossings "$tmp/out48.f32" 1 0 0.1 0.9 48000)
[ "$frames" = 48000 ] && [ "$pitch" = 1000 ] && echo "ok   96 kHz input at 48 kHz: $frames frames, $pitch Hz" ||
  fail "96 kHz input at 48 kHz: $frames frames, $pitch Hz"

# The default tone is 200 Hz on the left; without a preroll its first quarter second still glides up.
"$tool" render "$module" -q -s 0.5 -p Mix=100 -o "$tmp/cold.f32"
"$tool" render "$module" -q -s 0.5 -p Mix=100 --preroll 2 --fade-out 50 -o "$tmp/warm.f32" 2>"$tmp/err"
cold=$(crossings "$tmp/cold.f32" 2 0 0 0.25 48000) warm=$(crossings "$tmp/warm.f32" 2 0 0 0.25 48000)
[ "$warm" = 200 ] && [ "$cold" -lt 150 ] && echo "ok   preroll: $warm Hz from the start (without: $cold Hz)" ||
  fail "preroll: $warm Hz from the start, $cold Hz without"
python3 -c "
import array,sys
a=array.array('f'); a.frombytes(open(sys.argv[1],'rb').read())
sys.exit(not (a[-1]==0 and a[-2]==0 and max(map(abs,a[-20:]))<0.01 and max(map(abs,a[-4800:-2400]))>0.4))
" "$tmp/warm.f32" && echo "ok   fade-out ends on silence" || fail "fade-out"
grep -q $'\r' "$tmp/err" && fail "a carriage return in a redirected log"
"$tool" render "$module" -s 0.1 -o "$tmp/r.f32" 2>&1 | grep -qE '^rendered 0.10 s, .* \([0-9]+x real time\)$' &&
  echo "ok   summary with throughput, no progress line in a log" || fail "summary line"
if command -v script >/dev/null; then
  script -qec "'$tool' render '$module' -s 0.1 -o '$tmp/t.f32'" /dev/null | grep -q $'^\rrendering   0%' &&
    echo "ok   progress from the start on a terminal" || fail "no progress on a terminal"
fi

cp "$module" "$tmp/plug.so"
(cd "$tmp" && "$tool" info plug.so >/dev/null) && echo "ok   bare module name in the current folder" ||
  fail "bare module name"
exit $failures
