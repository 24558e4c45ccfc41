#!/usr/bin/env bash
# clang-tidy with the project's check set over our own sources (needs build/linux's compile database).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
[ -f build/linux/compile_commands.json ] || { echo "tidy: build/linux first" >&2; exit 1; }
files=$(git ls-files '*.cpp' | grep -E '^(core|vst|engine|plugin|editor|draw|resources|tools)/' \
  | grep -v -E 'Win32|win32/' || true)
run-clang-tidy -quiet -p build/linux -j"$(nproc)" $files 2>&1 | grep -v -E '^[0-9]+ warnings? generated' \
  | grep -E 'warning:|error:' -A3 && exit 1
exit 0
