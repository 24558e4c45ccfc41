#!/usr/bin/env bash
# Builds the fuzz targets with clang (address and undefined sanitizers) into build/fuzz and runs
# each for a bounded time from its committed seed corpus: the VST2 build's state chunks
# (chunk_fuzzer) and the state the other formats load (state_fuzzer).
# Usage: scripts/run-fuzz.sh [seconds per target, default 60] [extra libFuzzer options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$here/build/fuzz"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTPM_FUZZ=ON -DTPM_TESTS=OFF -DTPM_BENCH=OFF >/dev/null
ninja -C "$build" -j2 chunk_fuzzer state_fuzzer

# New inputs go to scratch folders so the committed corpora only change on purpose.
mkdir -p "$build/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in chunk_fuzzer:corpus state_fuzzer:state-corpus; do
  name=${target%%:*}
  seeds=${target#*:}
  mkdir -p "$build/$seeds"
  "$build/tests/fuzz/$name" "$build/$seeds" "$here/tests/fuzz/$seeds" \
    -max_total_time="$seconds" -max_len=80000 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 "$@"
done
