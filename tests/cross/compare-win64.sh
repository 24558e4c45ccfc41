#!/usr/bin/env bash
# The Win64 module and VST3 bundle, driven by the Win64 host tool under wine64, must report what the
# native ones report and render the same samples (within 1e-7) for the same settings.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
cd "$here"
native=build/linux/tools/vsthost
windows=build/win64/tools/vsthost.exe
wine=scripts/wine-run.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0

"$native" info build/linux/twinPulseToneMix.so >"$tmp/info-native.txt"
"$wine" "$windows" info build/win64/twinPulseToneMix.dll >"$tmp/info-win64.txt"
if diff -u "$tmp/info-native.txt" "$tmp/info-win64.txt"; then
  echo "info: identical ($(wc -l <"$tmp/info-native.txt") lines)"
else
  echo "info: the Win64 module reports differently"; status=1
fi

renders=(
  "--seconds 3 --tempo 120 -p Mix=100 -p Binaural=10"
  "--seconds 3 --double --tempo 96 -p Wave=Gold. Triangle -p LFO1 Target=Binaural Pan -p LFO2 Target=Base Freq"
  "--seconds 2 --channels 1 --block 300 --stopped -p Play Anyway=Yes -p Beats=Monaural -p Wave=Saw"
  "--seconds 2 --program 122 --tempo 140"
  "--seconds 70 --rate 8000 --schedule examples/meditation.schedule"
)
# render_both NAME NATIVE-MODULE WIN64-MODULE options...: the same render through both builds.
render_both() {
  local name=$1 native_module=$2 windows_module=$3; shift 3
  "$native" render "$native_module" -q -o "$tmp/native-$name.f32" "$@"
  "$wine" "$windows" render "$windows_module" -q -o "$tmp/win64-$name.f32" "$@"
  "$native" compare "$tmp/native-$name.f32" "$tmp/win64-$name.f32" --tolerance 1e-7
}
for i in "${!renders[@]}"; do
  # Options with blanks in their values are split at "-p " so each assignment stays one word.
  args=()
  read -r -a head <<<"${renders[$i]%% -p *}"
  args+=("${head[@]}")
  rest="${renders[$i]#"${renders[$i]%% -p *}"}"
  while [[ "$rest" == " -p "* ]]; do
    rest="${rest# -p }"
    value="${rest%% -p *}"
    args+=(-p "$value")
    rest="${rest#"$value"}"
  done
  if render_both "$i" build/linux/twinPulseToneMix.so build/win64/twinPulseToneMix.dll "${args[@]}"; then
    echo "render $i: matches (${renders[$i]})"
  else
    echo "render $i: differs (${renders[$i]})"; status=1
  fi
  # The VST3 bundles too, where the settings need no VST2-only schedule.
  [[ "${renders[$i]}" == *--schedule* ]] && continue
  if render_both "vst3-$i" build/linux/twinPulseToneMix.vst3 build/win64/twinPulseToneMix.vst3 "${args[@]}"; then
    echo "VST3 render $i: matches"
  else
    echo "VST3 render $i: differs (${renders[$i]})"; status=1
  fi
done

# The class id is the same bytes, which Windows spells as a COM GUID: as its moduleinfo.json lists it.
"$native" info build/linux/twinPulseToneMix.vst3 | grep -v '^class id:' >"$tmp/vst3-native.txt"
"$wine" "$windows" info build/win64/twinPulseToneMix.vst3 | tr -d '\r' >"$tmp/vst3-win64-all.txt"
grep -v '^class id:' "$tmp/vst3-win64-all.txt" >"$tmp/vst3-win64.txt"
if diff -u "$tmp/vst3-native.txt" "$tmp/vst3-win64.txt"; then
  echo "VST3 info: identical ($(wc -l <"$tmp/vst3-native.txt") lines)"
else
  echo "VST3 info: the Win64 bundle reports differently"; status=1
fi
listed=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["Classes"][0]["CID"])' \
  build/win64/twinPulseToneMix.vst3/Contents/Resources/moduleinfo.json)
if grep -qx "class id: $listed" "$tmp/vst3-win64-all.txt"; then
  echo "VST3 class id: the Win64 factory's is the one its moduleinfo.json lists"
else
  echo "VST3 class id: moduleinfo.json lists $listed; $(grep '^class id' "$tmp/vst3-win64-all.txt")"; status=1
fi
exit $status
