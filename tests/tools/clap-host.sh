#!/usr/bin/env bash
# vsthost hosting a CLAP module (a small test gain, run under xvfb-run): info and params read the
# plug-in's own units and its discovered presets; render applies text settings, presets and the
# transport; gestures the plug-in sends reach --log-automation from process and from params.flush,
# the latter driven by the timer and descriptor the editor loop services; the thread rules hold.
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
# The first and the largest absolute sample of a raw float32 file.
level() { python3 -c "
import array,sys
a=array.array('f'); a.frombytes(open(sys.argv[1],'rb').read())
print('%.5f %.5f' % (a[0], max(abs(x) for x in a)))" "$1"; }
expect() { # what, actual, wanted
  if [ "$2" = "$3" ]; then ok "$1: $2"; else fail "$1: got '$2', wanted '$3'"; fi
}
no_thread_errors() { # log
  if grep -q 'plug-in error' "$1"; then fail "thread rules broken:"; cat "$1"; fi
}

"$tool" info "$module" >"$tmp/info.txt" 2>"$tmp/info.log" || fail "info failed: $(cat "$tmp/info.log")"
grep -q '^name: Test Gain$' "$tmp/info.txt" && grep -q '^features: audio-effect stereo$' "$tmp/info.txt" &&
  grep -q '^param  0 Gain | dB | 0.0 | 0.500000$' "$tmp/info.txt" &&
  grep -q '^param  1 Mode |  | Normal | 0.000000$' "$tmp/info.txt" &&
  grep -q '^program   0 Quiet$' "$tmp/info.txt" && grep -q '^program   1 Loud$' "$tmp/info.txt" &&
  grep -q '^programs: 2$' "$tmp/info.txt" && ok "info: identity, parameters in their units, presets" ||
  { fail "info"; cat "$tmp/info.txt"; }
"$tool" info "$module" --program 1 -p Mode=inverted >"$tmp/info2.txt" 2>&1
grep -q '^param  0 Gain | dB | 6.0 |' "$tmp/info2.txt" && grep -q '^param  1 Mode |  | Inverted' "$tmp/info2.txt" &&
  grep -q '^current program: 1$' "$tmp/info2.txt" && ok "info: preset-load and a list text set before printing" ||
  { fail "info with a setup"; cat "$tmp/info2.txt"; }

"$tool" params "$module" >"$tmp/params.txt" 2>&1
grep -q '^ 0 | Gain | dB | -24.0 to 24.0 dB | 0.0$' "$tmp/params.txt" &&
  grep -q '^ 1 | Mode |  | one of: Normal, Inverted, Tempo | Normal$' "$tmp/params.txt" &&
  ok "params: ranges and lists from the plug-in's own values" || { fail "params"; cat "$tmp/params.txt"; }
"$tool" info "$module" -p Mode=Sideways >/dev/null 2>"$tmp/bad.log" && fail "an unknown list text was taken"
grep -q "'Mode' has no value 'Sideways'; it takes Normal, Inverted, Tempo" "$tmp/bad.log" &&
  ok "an unknown list text is refused with the choices" || { fail "unknown text"; cat "$tmp/bad.log"; }

python3 -c "
import array,math
a=array.array('f',[0.5*math.sin(2*math.pi*440*i/48000) for i in range(4800) for c in (0,1)])
a[0]=a[1]=0.5; open('$tmp/in.f32','wb').write(a.tobytes())"
render() { "$tool" render "$module" -q -r 48000 -i "$tmp/in.f32" -o "$tmp/out.f32" "$@" 2>"$tmp/render.log"; }
render -p "Gain=-6.0206" || fail "render: $(cat "$tmp/render.log")"
expect "render with Gain=-6.0206 dB" "$(level "$tmp/out.f32")" "0.25000 0.25000"
render --program 0 -p Mode=Inverted
expect "render with preset Quiet, inverted" "$(level "$tmp/out.f32")" "-0.12559 0.12559"
render -p Mode=Tempo -t 90
expect "transport while playing at 90 BPM" "$(level "$tmp/out.f32")" "0.09000 0.09000"
render -p Mode=Tempo -t 90 --stopped
expect "transport stopped" "$(level "$tmp/out.f32")" "0.00000 0.00000"
no_thread_errors "$tmp/render.log"
render -p Gain=0 --double -b 64 || fail "64-bit render: $(cat "$tmp/render.log")"
expect "64-bit processing in short blocks" "$(level "$tmp/out.f32")" "0.50000 0.50000"
# A bank of the product's own: this plug-in's state carries no such bank, so the file is refused.
python3 -c 'import struct,sys; chunk = b"tffp" + struct.pack("<i", 0x10000)
sys.stdout.buffer.write(struct.pack(">4si4siiiii124xi", b"CcnK", 152 + len(chunk), b"FBCh", 2, 0x6E61686A, 10000,
                        1, 0, len(chunk)) + chunk)' >"$tmp/bank.fxb"
render --load "$tmp/bank.fxb" && fail "a bank was loaded into a plug-in without one"
grep -q 'holds no bank a preset file can carry' "$tmp/render.log" && ok "--load needs the product's bank" ||
  { fail "--load"; cat "$tmp/render.log"; }

"$tool" --log-automation render "$module" -q -r 48000 -s 0.1 -p Gain=3 -p Echo=On -o "$tmp/out.f32" \
  2>"$tmp/echo.log"
expect "gesture from process" "$(tr '\n' '/' <"$tmp/echo.log")" \
  "host: begin-edit parameter 0/host: automate parameter 0 = 3.000000/host: end-edit parameter 0/"

"$tool" --log-automation editor "$module" --report-window --screenshot "$tmp/editor.png" --after-ms 600 --print-params \
  >"$tmp/editor.txt" 2>"$tmp/editor.log" || fail "editor: $(cat "$tmp/editor.log")"
grep -q '^READY [0-9-]* [0-9-]* 200 100$' "$tmp/editor.txt" && ok "editor: opened at the plug-in's size" ||
  { fail "editor did not open"; cat "$tmp/editor.txt"; }
expect "gesture through timer, descriptor and params.flush" "$(grep '^host:' "$tmp/editor.log" | tr '\n' '/')" \
  "host: begin-edit parameter 0/host: automate parameter 0 = 6.000000/host: end-edit parameter 0/"
grep -q '^Gain=6.0$' "$tmp/editor.txt" && ok "the editor's change stays" || { fail "--print-params"; cat "$tmp/editor.txt"; }
no_thread_errors "$tmp/editor.log"

"$tool" info "$tmp/in.f32.clap" >/dev/null 2>"$tmp/missing.log" && fail "a missing .clap loaded"
grep -q "cannot load module" "$tmp/missing.log" && ok "a missing .clap file is reported" ||
  { fail "missing module"; cat "$tmp/missing.log"; }
exit $failures
