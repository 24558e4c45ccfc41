#!/usr/bin/env bash
# The instructions of one whole `vsthost render` (20 s, 195 Hz left, 205 Hz right, 44.1 kHz, to a float
# WAV file) of each format's build, loading and setup included, counted with callgrind in the same run
# and set against the VST2 build's; exits 1 when a format needs more than 10 % more than VST2, or more
# than its own limit given with --limit FORMAT=RATIO (77, skipped, without valgrind).
# Usage: bench/engine/count-formats.sh [BUILD_DIR] [--limit FORMAT=RATIO]... [-- extra render options]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$here/build/linux
if [[ $# -gt 0 && $1 != -- && $1 != --limit ]]; then build=$1; shift; fi
declare -A limits=()
while [[ ${1:-} == --limit ]]; do
  limits[${2%%=*}]=${2#*=}
  shift 2
done
[[ ${1:-} == -- ]] && shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
limit=1.10
command -v valgrind >/dev/null || { echo "skipped: no valgrind"; exit 77; }

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
  name=${format%%:*}
  n=$(total "$module" "${extra[@]}")
  ratio=$(awk -v n="$n" -v v="$vst2" 'BEGIN { printf "%.3f", n / v }')
  most=${limits[$name]:-$limit}
  printf '%-5s %12d instructions, %s of VST2 (at most %s)\n' "$name" "$n" "$ratio" "$most"
  awk -v r="$ratio" -v l="$most" 'BEGIN { exit !(r > l) }' && over=1
done
exit $over
