#!/usr/bin/env bash
# A failed or interrupted write never harms the file it would have replaced: a full disk (a small
# file-size limit), a signal, an unusable FLAC rate, and a bank export on a full disk all leave the
# old file byte-identical and no temporary file behind; loud samples in FLAC are clipped, not fatal.
set -u
tool=$1 module=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
unchanged() { # description, file, checksum before
  if [ "$(md5sum <"$2")" != "$3" ]; then fail "$1: '$2' changed"; fi
  if ls -A | grep -q '^\.'; then fail "$1: a temporary file was left: $(ls -A | grep '^\.')"; fi
  echo "ok   $1"
}

"$tool" render "$module" -q -o old.wav -s 0.2 && sum=$(md5sum <old.wav)
(ulimit -f 64; "$tool" render "$module" -q -o old.wav -s 5 2>err) && fail "full disk: reported success"
grep -q "cannot write 'old.wav'" err || fail "full disk: message '$(cat err)'"
unchanged "render on a full disk" old.wav "$sum"

"$tool" render "$module" -q -o old.wav -s 3000 &
pid=$!
sleep 0.5
kill -TERM $pid
wait $pid
[ $? = 143 ] || fail "signal: the tool did not end by SIGTERM"
unchanged "render ended by a signal" old.wav "$sum"

"$tool" render "$module" -q -o old.flac -s 0.2 && flac=$(md5sum <old.flac)
start=$(date +%s%N)
"$tool" render "$module" -q -o old.flac -s 600 -r 700000 2>err && fail "FLAC rate: reported success"
[ $(( ($(date +%s%N) - start) / 1000000 )) -lt 2000 ] || fail "FLAC rate: refused only after rendering"
unchanged "unusable FLAC rate, refused before rendering" old.flac "$flac"
"$tool" render "$module" -q -s 0.2 -o nowhere/x.flac 2>err && fail "missing folder: reported success"
grep -q "folder 'nowhere' does not exist" err && echo "ok   missing output folder" || fail "missing folder: '$(cat err)'"

python3 -c "import array,sys; sys.stdout.buffer.write(array.array('f',[2.0,-3.0]*4800).tobytes())" >loud.f32
if "$tool" render "$module" -q -o old.flac -i loud.f32 -p Mix=0 2>err &&
  grep -q "9600 samples beyond full scale were clipped in 'old.flac' (peak +9.5 dBFS)" err; then
  echo "ok   FLAC peak above full scale: clipped and reported"
else
  fail "FLAC peak above full scale: $(cat err)"
fi

"$tool" export-fxb "$module" -o bank.fxb && bank=$(md5sum <bank.fxb)
(ulimit -f 4; "$tool" export-fxb "$module" -o bank.fxb -p "Base Freq=300" 2>/dev/null) && fail "bank: reported success"
unchanged "bank export on a full disk" bank.fxb "$bank"
exit $failures
