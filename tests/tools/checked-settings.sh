#!/usr/bin/env bash
# Settings that used to be taken silently and wrongly are now errors (one line naming the cause) or
# warnings; what a setting resolves to can be seen with info and params before rendering.
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
expect_error() { # description, expected text in the message, arguments...
  local what=$1 text=$2; shift 2
  "$tool" "$@" >/dev/null 2>"$tmp/err"
  local rc=$?
  if [ "$rc" = 0 ] || [ "$rc" -gt 128 ] || [ "$(grep -c . "$tmp/err")" != 1 ] || ! grep -qF -- "$text" "$tmp/err"; then
    fail "$what: exit $rc: $(cat "$tmp/err")"
  else
    echo "ok   $what: $(cat "$tmp/err")"
  fi
}
render=(render "$module" -q -s 0.1 -o "$tmp/o.f32")
expect_error "length NaN" "not a finite number" "${render[@]}" --seconds nan
expect_error "negative program" "not a program number" "${render[@]}" --program -1
expect_error "number that does not parse" "'abc' is not a number" "${render[@]}" -p "Base Freq=abc"
for v in NaN inf -inf; do
  expect_error "non-finite number $v" "must be a finite number" "${render[@]}" -p "Base Freq=$v"
done
expect_error "unknown list text" "it takes No, Yes" "${render[@]}" -p "Play Anyway=maybe"
expect_error "ambiguous name" "'#11=100' (one of 31 texts, 1/32 to 32/1) or '#12=100' (60 to 64000 ms)" \
  "${render[@]}" -p "LFO1 Rate=100"

# Out of range: clamped, with a warning, and the render goes on.
"$tool" info "$module" -p "Base Freq=-5" >"$tmp/info" 2>"$tmp/err"
grep -q "below the range 20.0 to 20000.0 Hz; using 20.0" "$tmp/err" && grep -q "param  0 Base Freq | Hz | 20.0 |" "$tmp/info" &&
  echo "ok   out of range: clamped with a warning" || fail "out of range: $(cat "$tmp/err")"

# List texts match without regard to case: a stopped transport with "yes" still sounds.
"$tool" render "$module" -q -s 0.5 --stopped -p "play anyway=yes" -p "Mix=100" -o "$tmp/s.f32"
python3 -c "import array,sys; a=array.array('f'); a.frombytes(open(sys.argv[1],'rb').read()); sys.exit(max(map(abs,a))<0.1)" \
  "$tmp/s.f32" && echo "ok   list text in lower case" || fail "list text in lower case: the render is silent"

# info applies --program, --load and -p, and shows the values they resolve to.
"$tool" export-fxp "$module" --program 3 -p "Wave=square" -o "$tmp/p.fxp"
"$tool" info "$module" --load "$tmp/p.fxp" -p "Binaural=10 Hz" >"$tmp/info"
grep -q "param  2 Wave |  | Square |" "$tmp/info" && grep -q "param  1 Binaural | Hz | 10.00 |" "$tmp/info" &&
  echo "ok   info after --load and -p" || fail "info after --load and -p: $(grep -E 'param +[12] ' "$tmp/info")"
"$tool" info "$module" --program 122 | grep -q "current program: 122" && echo "ok   info --program" ||
  fail "info --program"
"$tool" params "$module" >"$tmp/params"
grep -q "^11 | LFO1 Rate (set as #11) |  | one of: 1/32, 1/16T" "$tmp/params" &&
  grep -q "^ 0 | Base Freq | Hz | 20.0 to 20000.0 Hz | 200.0" "$tmp/params" &&
  echo "ok   params lists ranges, units and texts" || fail "params: $(head -3 "$tmp/params")"

# One channel of a binaural setting, and an input of more channels than the render: warnings.
"$tool" render "$module" -q -s 0.1 -c 1 -o "$tmp/m.f32" 2>"$tmp/err"
grep -q "warning: one channel with Beats \"Binaural\"" "$tmp/err" && echo "ok   mono binaural warns" ||
  fail "mono binaural: '$(cat "$tmp/err")'"
python3 -c "
import struct,sys,wave
w=wave.open(sys.argv[1],'wb'); w.setnchannels(4); w.setsampwidth(2); w.setframerate(48000); w.writeframes(bytes(8*480))
" "$tmp/four.wav"
"$tool" render "$module" -q -i "$tmp/four.wav" -o "$tmp/f.f32" 2>"$tmp/err"
grep -q "has 4 channels; the render uses the first 2" "$tmp/err" && echo "ok   four-channel input warns" ||
  fail "four-channel input: '$(cat "$tmp/err")'"

# compare: identical files holding NaN are identical.
python3 -c "import array,sys; sys.stdout.buffer.write(array.array('f',[float('nan'),1.0]).tobytes())" >"$tmp/n.f32"
"$tool" compare "$tmp/n.f32" "$tmp/n.f32" | grep -q "largest difference 0" && echo "ok   compare with NaN" ||
  fail "compare with NaN"
exit $failures
