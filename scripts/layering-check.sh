#!/usr/bin/env bash
# Fails, listing the includes, when a source includes a header from a folder it may not depend on, or
# a re-entrant lock is made, and (once build/linux is built) the symbols, when a layer's library uses
# one it may not.
# The folders form a stack: tools -> formats/<each format> -> plugin -> {engine, editor -> draw} -> core;
# engine and editor never include each other, nor does one format another. A format sees the product
# only through plugin/ (and the editor's interfaces): core/ and engine/ types it needs come re-exported
# by a plugin/ header. Below the formats no VST, MIDI or SysEx name appears in code. Tests and
# benchmarks may include anything.
set -uo pipefail
cd "$(dirname "$0")/.."

allowed_for() {
  case $1 in
    core) echo "core" ;;
    draw) echo "draw core" ;;
    editor) echo "editor draw core" ;;
    engine) echo "engine core" ;;
    plugin) echo "plugin engine editor draw core" ;;
    formats/*) echo "$1 plugin editor draw" ;;
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

# Product rules live in plugin/ alone: a binding that spelled out the engine's band names or picked
# parameters by their engine ids would keep a copy that drifts from the product.
band_names=$(grep -o '"[^"]*"' engine/BandNames.h | paste -sd'|')
while IFS= read -r hit; do
  echo "$hit (a product rule copied into a binding: take it from plugin/)"
  bad=1
done < <(git grep -n -E "ParamId::|$band_names" -- 'formats/*')

# The layers below the formats speak no format's language: a VST, MIDI or SysEx name in their code
# (comments aside) means a format's rule has leaked into the product, where the other formats
# would inherit it.
while IFS= read -r hit; do
  echo "$hit (a format's name below formats/: keep it in its binding)"
  bad=1
done < <(git ls-files -- 'core/*' 'engine/*' 'plugin/*' 'editor/*' 'draw/*' | grep -E '\.(cpp|h|in)$' |
  xargs perl -ne 'BEGIN { $/ = undef } my $file = $ARGV; my $text = $_;
    $text =~ s{/\*.*?\*/}{ my $c = $&; $c =~ tr/\n//cd; $c }gse; # block comments, keeping their lines
    my $n = 0;
    for my $line (split /\n/, $text, -1) {
      $n++; $line =~ s{//.*}{};
      print "$file:$n: $1\n" if $line =~ /(\w*(?:vst|midi|sysex|aeffect|audiomaster)\w*)/i;
    }')

# No lock of ours may be taken again by the thread holding it: no re-entrant mutex exists to allow
# it (Win32 critical sections are re-entrant too). The plug-in lock stops the program on such a take
# at run time, which the tests exercise.
while IFS= read -r hit; do
  echo "$hit (a re-entrant lock: take each lock once, in the request that needs it)"
  bad=1
done < <(git grep -n -E "recursive_mutex|PTHREAD_MUTEX_RECURSIVE|CRITICAL_SECTION|EnterCriticalSection" -- \
  'core/*' 'draw/*' 'editor/*' 'engine/*' 'plugin/*' 'formats/*' 'tools/*')

[ "$bad" = 0 ] && echo "layering: clean"
# The same stack at link level: each layer's library uses only symbols of the libraries below it.
if [ -f build/linux/libtpm_core.a ]; then
  python3 scripts/library-layering.py build/linux || bad=1
fi
exit "$bad"
