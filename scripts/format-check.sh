#!/usr/bin/env bash
# Fails, listing the files, when any tracked C++ source differs from .clang-format.
# `bash scripts/format-check.sh --fix` rewrites them instead.
set -uo pipefail
cd "$(dirname "$0")/.."
fix=${1:-}
bad=()
while IFS= read -r f; do
  if [ "$fix" = --fix ]; then clang-format -i "$f"; continue; fi
  clang-format "$f" | cmp -s - "$f" || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted (run scripts/format-check.sh --fix):\n'; printf '  %s\n' "${bad[@]}"
  exit 1
fi
