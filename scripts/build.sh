#!/usr/bin/env bash
# Builds the plug-in, the host tool, the tests and the benchmarks for Linux (build/linux) and the
# plug-in, the host tool and the tests for 64-bit Windows (build/win64).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc)
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build/linux -j"$jobs"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTPM_BENCH=ON >/dev/null
cmake --build build/win64 -j"$jobs"
