#!/usr/bin/env bash
# vsthost hosting a VST3 plug-in whose edit controller is a class of its own (a small test gain): the
# controller is made from the component's controller class id and connected, its parameter reads in
# the plug-in's text, a value set before processing reaches the processor (which works only once
# connected), and a plug-in without 64-bit processing renders in 32 bits with a warning.
#   vst3-split-host.sh VSTHOST BUNDLE
set -u
tool=$1 bundle=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
expect() { # what, actual, wanted
  if [ "$2" = "$3" ]; then echo "ok   $1: $2"; else fail "$1: got '$2', wanted '$3'"; fi
}

"$tool" info "$bundle" -p Gain=1.5 >"$tmp/info.txt" 2>&1 || fail "info: $(cat "$tmp/info.txt")"
expect "the controller" "$(grep '^controller:' "$tmp/info.txt")" "controller: separate, connected"
expect "its parameter after a text setting" "$(grep '^param ' "$tmp/info.txt")" "param  0 Gain | x | 1.50 | 0.750000"
expect "no 64-bit processing" "$(grep '^64-bit' "$tmp/info.txt")" "64-bit processing: no"

python3 -c "
import array
open('$tmp/in.f32','wb').write(array.array('f',[0.5]*9600).tobytes())"
"$tool" render "$bundle" -q -r 48000 -i "$tmp/in.f32" -o "$tmp/out.f32" -p Gain=0.5 --double 2>"$tmp/render.log" ||
  fail "render: $(cat "$tmp/render.log")"
expect "the value reaches the connected processor" "$(python3 -c "
import array
a=array.array('f'); a.frombytes(open('$tmp/out.f32','rb').read())
print('%.3f %.3f %d' % (a[0], a[-1], len(a)))")" "0.250 0.250 9600"
grep -q 'no double-precision process callback' "$tmp/render.log" && echo "ok   --double falls back to 32 bits" ||
  fail "no warning for --double: $(cat "$tmp/render.log")"
exit $failures
