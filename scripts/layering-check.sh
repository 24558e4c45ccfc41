#!/usr/bin/env bash
# Fails, listing the includes, when a source includes a header from a folder it may not depend on.
# The folders form a stack: tools -> vst -> plugin -> {engine, editor -> draw} -> core; engine and
# editor never include each other. Tests and benchmarks may include anything.
set -uo pipefail
cd "$(dirname "$0")/.."

allowed_for() {
  case $1 in
    core) echo "core" ;;
    draw) echo "draw core" ;;
    editor) echo "editor draw core" ;;
    engine) echo "engine core" ;;
    plugin) echo "plugin engine editor draw core" ;;
    vst) echo "vst plugin engine editor draw core" ;;
    tools) echo "tools vst plugin engine editor draw core" ;;
    *) echo "" ;;
  esac
}

bad=0
while IFS= read -r file; do
  folder=${file%%/*}
  allowed=" $(allowed_for "$folder") "
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    dir=${target%%/*}
    [ "$dir" = "$target" ] && continue # a header beside the file
    case " core draw editor engine plugin vst tools " in *" $dir "*) ;; *) continue ;; esac
    if [[ $allowed != *" $dir "* ]]; then
      echo "$file includes $target ($folder may not depend on $dir)"
      bad=1
    fi
  done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(git ls-files -- 'core/*' 'draw/*' 'editor/*' 'engine/*' 'plugin/*' 'vst/*' 'tools/*' | grep -E '\.(cpp|h)$')

[ "$bad" = 0 ] && echo "layering: clean"
exit "$bad"
