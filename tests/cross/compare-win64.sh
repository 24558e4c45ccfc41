#!/usr/bin/env bash
# The Win64 module, driven by the Win64 host tool under wine64, must report what the native
# module reports and render the same samples (within 1e-7) for the same settings.
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
  "$native" render build/linux/twinPulseToneMix.so -q -o "$tmp/native-$i.f32" "${args[@]}"
  "$wine" "$windows" render build/win64/twinPulseToneMix.dll -q -o "$tmp/win64-$i.f32" "${args[@]}"
  if "$native" compare "$tmp/native-$i.f32" "$tmp/win64-$i.f32" --tolerance 1e-7; then
    echo "render $i: matches (${renders[$i]})"
  else
    echo "render $i: differs (${renders[$i]})"; status=1
  fi
done
exit $status
