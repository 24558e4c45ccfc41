#!/usr/bin/env bash
# The Win64 tool under Wine: Unix paths work for the module and for files, also with characters
# outside the ANSI code page, a bare module name means the file in the current folder, and a module
# that does not load is explained in words.
set -u
tool=$1 module=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
wine=$here/scripts/wine-run.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

"$wine" "$tool" render "$module" -q -s 0.1 -o "$tmp/a.f32" 2>"$tmp/err" && [ "$(stat -c %s "$tmp/a.f32")" = 38400 ] &&
  echo "ok   Unix paths for module and output" || fail "Unix paths: $(cat "$tmp/err")"
echo old >"$tmp/keep.f32"
"$wine" "$tool" render "$module" -q -s 0.1 -o "$tmp/keep.f32" -p "Base Freq=abc" 2>/dev/null
[ "$(cat "$tmp/keep.f32")" = old ] && [ "$(ls -A "$tmp" | grep -c '^keep')" = 1 ] &&
  echo "ok   a refused render leaves the old file" || fail "old file changed: $(ls -A "$tmp")"
cp "$module" "$tmp/plug.dll"
(cd "$tmp" && "$wine" "$tool" info plug.dll >/dev/null 2>"$tmp/err") && echo "ok   bare module name" ||
  fail "bare module name: $(cat "$tmp/err")"
"$wine" "$tool" info "$tmp/none.dll" 2>"$tmp/err"
grep -q "cannot load module '$tmp/none.dll': no such file" "$tmp/err" && echo "ok   missing module in words" ||
  fail "missing module: $(cat "$tmp/err")"
# A folder named with characters no ANSI code page holds together: every file the tool opens there.
export LC_ALL=C.UTF-8 # Wine reads Unix names in the locale's encoding
uni="$tmp/音 ü"
mkdir "$uni" && cp "$module" "$uni/plug ü.dll" && printf '0 Mix=50\nend 0.1\n' >"$uni/s.schedule"
"$wine" "$tool" export-fxb "$uni/plug ü.dll" -o "$uni/b.fxb" -p "Mix=40" 2>"$tmp/err" &&
  "$wine" "$tool" render "$uni/plug ü.dll" -q --load "Z:${uni//\//\\}\\b.fxb" --schedule "$uni/s.schedule" \
    -o "$uni/o.f32" 2>>"$tmp/err" && [ "$(stat -c %s "$uni/o.f32")" = 38400 ] &&
  "$wine" "$tool" compare "$uni/o.f32" "$uni/o.f32" >/dev/null 2>>"$tmp/err" &&
  echo "ok   module, preset, schedule and output in '$uni'" || fail "non-ANSI folder: $(cat "$tmp/err")"
"$wine" "$tool" info /etc/hostname 2>"$tmp/err"
grep -q "error [0-9]" "$tmp/err" && fail "loader error as a number: $(cat "$tmp/err")" ||
  echo "ok   not a module: $(cat "$tmp/err")"
exit $failures
