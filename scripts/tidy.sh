#!/usr/bin/env bash
# clang-tidy with the project's check set over our own sources (needs build/linux's compile database).
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
[ -f build/linux/compile_commands.json ] || { echo "tidy: build/linux first" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' | grep -E '^(core|formats|engine|plugin|editor|draw|resources|tools)/' \
  | grep -v -E '(Win32|win32/)')
report=$(run-clang-tidy -quiet -p build/linux -j"$(nproc)" "${files[@]}" 2>&1)
findings=$(sed -E "s/\x1b\[[0-9;]*m//g" <<<"$report" | grep -E '(warning|error): ' | grep -v -E '^[0-9]+ warnings? generated' | sort -u)
if [ -n "$findings" ]; then
  echo "$findings"
  echo "tidy: $(wc -l <<<"$findings") finding(s)"
  exit 1
fi
echo "tidy: ${#files[@]} files clean"
