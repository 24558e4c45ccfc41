#!/usr/bin/env bash
# The factory names' dashes, stored as the bytes C2 96, reach every Unicode listing as an en dash
# (U+2013) and never as the control character U+0096: VST3's program list, CLAP preset discovery, the
# LV2 presets through lilv (vsthost) and lv2info, and vsthost's own reading of the VST2 build. The
# VST2 build still hands out, and saves, the stored bytes.
#   program-names.sh VSTHOST VST2_MODULE CLAP_MODULE VST3_BUNDLE LV2_BUNDLE
set -u
tool=$1 vst2=$2 clap=$3 vst3=$4 lv2=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0 passes=0

# 36 names with an en dash, none with a C1 control, all of it valid UTF-8.
dashes() { # what, file
  local result
  result=$(python3 -c '
import sys
text = open(sys.argv[1], "rb").read().decode("utf-8")
lines = [l for l in text.splitlines() if "\u2013" in l]
controls = sorted({hex(ord(c)) for c in text if 0x80 <= ord(c) <= 0x9F})
print(f"{len(lines)} en dashes, C1 controls: {controls or None}")
sys.exit(0 if len(lines) == 36 and not controls else 1)' "$2" 2>&1)
  if [ $? = 0 ]; then echo "ok   $1: $result"; passes=$((passes + 1)); else echo "FAIL $1: $result"; failures=$((failures + 1)); fi
}

for module in "$vst2" "$vst3" "$clap" "$lv2"; do
  for command in programs info; do
    "$tool" $command "$module" >"$tmp/out.txt" 2>&1
    dashes "vsthost $command ${module##*/}" "$tmp/out.txt"
  done
done

mkdir "$tmp/path" && ln -s "$(cd "$lv2" && pwd)" "$tmp/path/twinPulseToneMix.lv2"
LV2_PATH=$tmp/path lv2info https://www.twinpulsetonemix.org/plugins/twinPulseToneMix >"$tmp/lv2info.txt" 2>&1
dashes "lv2info" "$tmp/lv2info.txt"

# The VST2 bank keeps the stored bytes.
"$tool" export-fxb "$vst2" -o "$tmp/bank.fxb" >/dev/null 2>&1
if [ "$(grep -a -c $'Solfeggio UT \xC2\x96 396 Hz' "$tmp/bank.fxb")" -ge 1 ] &&
  ! grep -a -q $'\xE2\x80\x93' "$tmp/bank.fxb"; then
  echo "ok   the VST2 bank holds the stored bytes C2 96"; passes=$((passes + 1))
else
  echo "FAIL the VST2 bank's names changed"; failures=$((failures + 1))
fi

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
