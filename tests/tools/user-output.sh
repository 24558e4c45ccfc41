#!/usr/bin/env bash
# What people read (run under xvfb-run): help that names values in words, without the command-line
# library's types and checks, and an editor screenshot that prints no lines meant for scripts (they
# ask for them with --report-window).
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

for command in "" info params render programs export-fxp export-fxb editor compare play; do
  "$tool" $command --help >"$tmp/help" 2>&1
  noise=$(grep -E '\b(U?INT|FLOAT|TEXT|FINITE|PROGRAM)\b|in \[|\) AND \(' "$tmp/help")
  [ -z "$noise" ] && echo "ok   help of '${command:-vsthost}' in words" ||
    fail "help of '${command:-vsthost}': $noise"
done

"$tool" editor "$module" --screenshot "$tmp/a.png" --after-ms 200 >"$tmp/out" 2>"$tmp/err"
[ $? = 0 ] && [ -s "$tmp/a.png" ] && [ ! -s "$tmp/out" ] && echo "ok   editor screenshot, quietly" ||
  fail "editor screenshot printed: $(cat "$tmp/out" "$tmp/err")"
"$tool" editor "$module" --screenshot "$tmp/b.png" --after-ms 200 --report-window >"$tmp/out" 2>"$tmp/err"
grep -qE '^READY -?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+$' "$tmp/out" && grep -q "^SCREENSHOT $tmp/b.png$" "$tmp/out" &&
  echo "ok   --report-window for scripts" || fail "--report-window: $(cat "$tmp/out" "$tmp/err")"
exit $failures
