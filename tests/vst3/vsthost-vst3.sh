#!/usr/bin/env bash
# vsthost with the VST3 bundle where the VST2 comparison does not reach: what info says of the class,
# the binary inside the bundle loads as well as the bundle, programs lists the program list, and a
# missing bundle or program is reported in one line.
#   vsthost-vst3.sh VSTHOST BUNDLE
set -u
tool=$1 bundle=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
refused() { # what, expected message, command...
  local what=$1 wanted=$2; shift 2
  if "$@" >/dev/null 2>"$tmp/err.log"; then fail "$what: accepted"; return; fi
  grep -qF "$wanted" "$tmp/err.log" && [ "$(wc -l <"$tmp/err.log")" = 1 ] && ok "$what" ||
    { fail "$what:"; cat "$tmp/err.log"; }
}

"$tool" info "$bundle" >"$tmp/info.txt" 2>"$tmp/info.log" || fail "info: $(cat "$tmp/info.log")"
for line in 'format: VST3' 'category: Audio Module Class' 'inputs: 2' \
  'outputs: 2' '64-bit processing: yes' 'programs: 141' 'parameters: 23' 'program 140 .*'; do
  grep -qx "$line" "$tmp/info.txt" || fail "info lacks '$line'"
done
ok "info: the class, its buses, parameters and program list"
# Hosts match the factory's class with the one moduleinfo.json lists before they load the module.
listed=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["Classes"][0]["CID"])' \
  "$bundle/Contents/Resources/moduleinfo.json")
grep -qx "class id: $listed" "$tmp/info.txt" && ok "moduleinfo.json lists the class the factory makes" ||
  fail "moduleinfo.json lists $listed; the factory says $(grep '^class id' "$tmp/info.txt")"

binary=$(ls "$bundle"/Contents/*/twinPulseToneMix.*)
"$tool" info "$binary" | head -1 >"$tmp/binary.txt"
[ "$(cat "$tmp/binary.txt")" = "format: VST3" ] && ok "the binary inside the bundle is hosted as VST3" ||
  fail "binary in the bundle: $(cat "$tmp/binary.txt")"

"$tool" programs "$bundle" >"$tmp/programs.txt" 2>&1
[ "$(wc -l <"$tmp/programs.txt")" = 141 ] && grep -qx '  1 Higher frequencies' "$tmp/programs.txt" &&
  ok "programs lists the program list" || { fail "programs:"; head -3 "$tmp/programs.txt"; }
refused "a program beyond the list" "program 141 does not exist (the plug-in has 141, 0 to 140)" \
  "$tool" render "$bundle" -q -s 0.1 --program 141 -o "$tmp/out.f32"
refused "a missing bundle" "cannot load module" "$tool" info "$tmp/Missing.vst3"
exit $failures
