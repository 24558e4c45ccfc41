#!/usr/bin/env bash
# The instructions of one whole `vsthost render` (20 s, 195 Hz left, 205 Hz right, 44.1 kHz, to a float
# WAV file) of each format's build, loading and setup included, counted with callgrind in the same run
# and set against the VST2 build's; exits 1 when a format needs more than 10 % more than VST2.
# Usage: bench/engine/count-formats.sh [BUILD_DIR] [-- extra render options]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$here/build/linux
if [[ $# -gt 0 && $1 != -- ]]; then build=$1; shift; fi
[[ ${1:-} == -- ]] && shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
limit=1.10

total() { # module, render options...
  local module=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$build/tools/vsthost" render -q "$module" -o "$tmp/out.wav" \
    -r 44100 -s 20 -p "Base Freq=195" -p "Binaural=10" "$@" >/dev/null 2>"$tmp/log"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$tmp/log"
}
extra=("$@")
vst2=$(total "$build/twinPulseToneMix.so" "${extra[@]}")
printf '%-5s %12d instructions\n' VST2 "$vst2"
over=0
for format in CLAP:twinPulseToneMix.clap VST3:twinPulseToneMix.vst3 LV2:twinPulseToneMix.lv2; do
  module=$build/${format#*:}
  [[ -e $module ]] || continue
  n=$(total "$module" "${extra[@]}")
  ratio=$(awk -v n="$n" -v v="$vst2" 'BEGIN { printf "%.3f", n / v }')
  printf '%-5s %12d instructions, %s of VST2\n' "${format%%:*}" "$n" "$ratio"
  awk -v r="$ratio" -v l=$limit 'BEGIN { exit !(r > l) }' && over=1
done
exit $over
