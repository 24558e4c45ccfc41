#!/usr/bin/env bash
# Builds the state-chunk fuzz target with clang (address and undefined sanitizers) into
# build/fuzz and runs it for a bounded time from the committed seed corpus.
# Usage: scripts/run-fuzz.sh [seconds, default 60] [extra libFuzzer options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$here/build/fuzz"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTPM_FUZZ=ON -DTPM_TESTS=OFF -DTPM_BENCH=OFF >/dev/null
ninja -C "$build" -j2 chunk_fuzzer

# New inputs go to a scratch folder so the committed corpus only changes on purpose.
work="$build/corpus"
mkdir -p "$work" "$build/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$build/tests/fuzz/chunk_fuzzer" "$work" "$here/tests/fuzz/corpus" \
  -max_total_time="$seconds" -max_len=80000 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$@"
