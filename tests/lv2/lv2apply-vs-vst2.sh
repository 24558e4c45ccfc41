#!/usr/bin/env bash
# lv2apply renders a file through the LV2 bundle: the same samples as the VST2 module rendered by
# vsthost with the same settings. lv2apply runs the plug-in one frame at a time and tells it no
# transport, so the reference runs blocks of one frame with the transport stopped.
#   lv2apply-vs-vst2.sh VSTHOST VST2_MODULE BUNDLE_FOLDER
set -u
tool=$1 vst2=$2 bundle=$3
here=$(cd "$(dirname "$0")" && pwd)
uri=https://www.twinpulsetonemix.org/plugins/twinPulseToneMix
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0 passes=0
mkdir "$tmp/path" && ln -s "$(cd "$bundle" && pwd)" "$tmp/path/twinPulseToneMix.lv2"
python3 "$here/wav_f32.py" tone "$tmp/in.wav" 1 44100

same() { # what, then LV2 controls as "symbol value" pairs, "--", then the same as vsthost options
  local what=$1; shift
  local controls=()
  while [ "$1" != -- ]; do controls+=(-c "$1" "$2"); shift 2; done
  shift
  LV2_PATH=$tmp/path lv2apply -i "$tmp/in.wav" -o "$tmp/lv2.wav" "${controls[@]}" "$uri" 2>"$tmp/lv2.log" \
    && python3 "$here/wav_f32.py" raw "$tmp/lv2.wav" "$tmp/lv2.f32" \
    || { echo "FAIL $what: lv2apply: $(cat "$tmp/lv2.log")"; failures=$((failures + 1)); return; }
  "$tool" render "$vst2" -q --input "$tmp/in.wav" -o "$tmp/vst2.f32" --block 1 --stopped "$@" \
    || { echo "FAIL $what: VST2 render"; failures=$((failures + 1)); return; }
  local result; result=$("$tool" compare "$tmp/vst2.f32" "$tmp/lv2.f32")
  case $result in
    *"largest difference 0") echo "ok   $what: $result"; passes=$((passes + 1)) ;;
    *) echo "FAIL $what: $result"; failures=$((failures + 1)) ;;
  esac
}
same "defaults: the input passes, the tone waits for a transport" -- 
same "tones with the transport stopped" playAnyway 1 -- -p "Play Anyway=Yes"
same "settings in display units" playAnyway 1 baseFreq 333 binaural 7.83 wave 3 beats 1 mix 25 -- \
  -p "Play Anyway=Yes" -p "Base Freq=333" -p "Binaural=7.83" -p Wave=Square -p Beats=Monaural -p Mix=25
same "a free LFO on the base frequency" playAnyway 1 lfo1Target 1 lfo1Sync 0 lfo1RateMs 250 lfo1Depth 100 -- \
  -p "Play Anyway=Yes" -p "LFO1 Target=Base Freq" -p "LFO1 Sync=No" -p "#12=250" -p "LFO1 Depth=100"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
