#!/usr/bin/env bash
# Bad arguments, missing files and modules that do not load: one line on stderr, a non-zero exit,
# and never a crash (a signal would show as an exit code above 128).
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
expect_error() { # description, arguments...
  local what=$1; shift
  "$tool" "$@" >"$tmp/out" 2>"$tmp/err"
  local rc=$? lines
  lines=$(grep -c . "$tmp/err")
  if [ "$rc" = 0 ] || [ "$rc" -gt 128 ] || [ "$lines" != 1 ]; then
    echo "FAIL $what: exit $rc, $lines stderr line(s):"; cat "$tmp/err"; failures=$((failures + 1))
  else
    echo "ok   $what: $(cat "$tmp/err")"
  fi
}
expect_error "missing module" info "$tmp/none.so"
expect_error "missing LV2 bundle" info "$tmp/none.lv2"
mkdir "$tmp/empty.lv2" && expect_error "a folder that is no LV2 bundle" params "$tmp/empty.lv2"
expect_error "not a module" render /etc/hostname -o "$tmp/o.wav"
expect_error "missing input" render "$module" -o "$tmp/o.wav" -i "$tmp/none.wav"
expect_error "unknown parameter" render "$module" -o "$tmp/o.wav" -p "Loudness=3"
expect_error "normalised value out of range" render "$module" -o "$tmp/o.wav" -p "7=1.5"
expect_error "no such program" render "$module" -o "$tmp/o.wav" --program 150
expect_error "unwritable output" render "$module" -o "$tmp/no/dir/o.wav" -s 0.01
expect_error "unknown output format" render "$module" -o "$tmp/o.mp3"
expect_error "three channels" render "$module" -o "$tmp/o.wav" -c 3
expect_error "garbage preset file" render "$module" -o "$tmp/o.wav" --load /etc/hostname
expect_error "no sub-command" 
head -c 13 /dev/zero >"$tmp/13.f32" && head -c 12 /dev/zero >"$tmp/12.f32"
expect_error "compare: a partial sample" compare "$tmp/13.f32" "$tmp/12.f32"
exit $failures
