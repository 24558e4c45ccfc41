#!/usr/bin/env bash
# Instructions per frame of the engine's render path (module process callback included), measured
# with callgrind as the difference between two runs of engine_count, so setup costs cancel out.
# Usage: bench/engine/count-instructions.sh [BUILD_DIR]   (default build/linux)
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/linux}
driver=$build/bench/engine/engine_count
short=96000
long=$((short + 480000))
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

total() { # case, frames
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$driver" "$1" "$2" >/dev/null 2>"$tmp/log"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$tmp/log"
}
for c in default worst; do
  a=$(total "$c" "$short")
  b=$(total "$c" "$long")
  awk -v c="$c" -v a="$a" -v b="$b" -v n=$((long - short)) \
    'BEGIN { printf "%-8s %7.1f instructions per frame\n", c, (b - a) / n }'
done
