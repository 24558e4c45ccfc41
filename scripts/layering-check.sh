#!/usr/bin/env bash
# Fails, listing the includes, when a source includes a header from a folder it may not depend on, and
# (once build/linux is built) the symbols, when a layer's library uses one it may not.
# The folders form a stack: tools -> formats/<each format> -> plugin -> {engine, editor -> draw} -> core;
# engine and editor never include each other, nor does one format another. Tests and benchmarks may
# include anything.
set -uo pipefail
cd "$(dirname "$0")/.."

allowed_for() {
  case $1 in
    core) echo "core" ;;
    draw) echo "draw core" ;;
    editor) echo "editor draw core" ;;
    engine) echo "engine core" ;;
    plugin) echo "plugin engine editor draw core" ;;
    formats/*) echo "$1 plugin engine editor draw core" ;;
    tools) echo "tools $(ls -d formats/*/ | sed 's|/$||' | tr '\n' ' ')plugin engine editor draw core" ;;
    *) echo "" ;;
  esac
}

# The folder a path belongs to: its first component, or formats/<format>.
unit_of() {
  case $1 in
    formats/*/*) echo "formats/$(echo "$1" | cut -d/ -f2)" ;;
    *) echo "${1%%/*}" ;;
  esac
}

bad=0
while IFS= read -r file; do
  folder=$(unit_of "$file")
  allowed=" $(allowed_for "$folder") "
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    [ "${target%%/*}" = "$target" ] && continue # a header beside the file
    dir=$(unit_of "$target")
    case "$dir" in core | draw | editor | engine | plugin | formats/* | tools) ;; *) continue ;; esac
    if [[ $allowed != *" $dir "* ]]; then
      echo "$file includes $target ($folder may not depend on $dir)"
      bad=1
    fi
  done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(git ls-files -- 'core/*' 'draw/*' 'editor/*' 'engine/*' 'plugin/*' 'formats/*' 'tools/*' | grep -E '\.(cpp|h)$')

[ "$bad" = 0 ] && echo "layering: clean"
# The same stack at link level: each layer's library uses only symbols of the libraries below it.
if [ -f build/linux/libtpm_core.a ]; then
  python3 scripts/library-layering.py build/linux || bad=1
fi
exit "$bad"
