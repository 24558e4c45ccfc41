#!/usr/bin/env bash
# Instructions per frame of a whole `vsthost render` (195 Hz left, 205 Hz right, 44.1 kHz stereo, to a
# float WAV file), measured with callgrind as the difference between a short and a long render, so
# loading and setup cancel out. With --at-most DEFAULT WORST it exits 1 when a case needs more per frame
# (and 77, skipped, without valgrind).
# Usage: bench/engine/count-render.sh [BUILD_DIR] [--at-most DEFAULT WORST] [-- extra render options]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$here/build/linux
if [[ $# -gt 0 && $1 != -- && $1 != --at-most ]]; then build=$1; shift; fi
declare -A most=()
if [[ ${1:-} == --at-most ]]; then
  most=([default]=$2 [worst]=$3)
  shift 3
  command -v valgrind >/dev/null || { echo "skipped: no valgrind"; exit 77; }
fi
[[ ${1:-} == -- ]] && shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
short=10
long=70
rate=44100
worst=(-p "Wave=Golden Sine" -p "LFO1 Target=Base Freq" -p "LFO1 Sync=No" -p "LFO1 Depth=100"
  -p "LFO2 Target=Volume")

total() { # seconds, options...
  local seconds=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$build/tools/vsthost" render -q \
    "$build/twinPulseToneMix.so" -o "$tmp/out.wav" -r $rate -s "$seconds" -p "Base Freq=195" -p "Binaural=10" "$@" \
    >/dev/null 2>"$tmp/log"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$tmp/log"
}
over=0
for c in default worst; do
  options=("$@")
  [[ $c == worst ]] && options+=("${worst[@]}")
  a=$(total $short "${options[@]}")
  b=$(total $long "${options[@]}")
  awk -v c="$c" -v a="$a" -v b="$b" -v n=$(((long - short) * rate)) -v most="${most[$c]:-}" \
    'BEGIN { f = (b - a) / n; printf "%-8s %7.2f instructions per frame%s\n", c, f, most == "" ? "" : ", at most " most
             exit most != "" && f > most }' || over=1
done
exit $over
