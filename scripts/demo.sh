#!/usr/bin/env bash
# The main job: set up, build both targets (the Win64 build makes the Windows installer), make the
# Debian package, render a short binaural demo through the plug-in with the host tool, and say where
# everything is.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash scripts/setup.sh
bash scripts/build.sh
(cd build/linux && cpack -G DEB >/dev/null)
deb=$(ls build/linux/twinpulsetonemix_*.deb)
installer=$(ls build/win64/twinPulseToneMix-*-win64-setup.exe)
mkdir -p out
# A 10 Hz beat on a 200 Hz tone (210 Hz in the right ear), tone only, transport playing.
./build/linux/tools/vsthost render build/linux/twinPulseToneMix.so -o out/demo-binaural.wav \
  --seconds 10 --rate 48000 --block 512 --tempo 120 --preroll 2 --fade-out 50 \
  -p "Base Freq=200" -p "Binaural=10" -p "Mix=100" -p "Fade=1"
cat <<EOT

Rendered out/demo-binaural.wav: 10 s of stereo at 48 kHz, a 200 Hz sine in the left ear and
210 Hz in the right, a 10 Hz binaural beat (ALPHA band), steady from the first sample and ending
on a short fade. Listen on headphones.

Install (see the README's "Installing"):
  Debian package:    $here/$deb
                     (apt install $here/$deb)
  Windows installer: $here/$installer
                     (/S for a silent install)
  From the build:    cmake --install build/linux (your own plug-in folders ~/.vst, ~/.vst3, ~/.clap, ~/.lv2)

Plug-in modules (to copy by hand; see the README's "Where the plug-in files go"):
  Linux:       $here/build/linux/twinPulseToneMix.vst3   (VST3 bundle folder: ~/.vst3)
               $here/build/linux/twinPulseToneMix.clap   (CLAP: ~/.clap)
               $here/build/linux/twinPulseToneMix.so     (VST 2.4: ~/.vst)
               $here/build/linux/twinPulseToneMix.lv2/   (LV2 bundle, the whole folder: ~/.lv2)
  Windows x64: $here/build/win64/twinPulseToneMix.vst3   (VST3 bundle folder: %COMMONPROGRAMFILES%\VST3)
               $here/build/win64/twinPulseToneMix.clap   (CLAP: %COMMONPROGRAMFILES%\CLAP)
               $here/build/win64/twinPulseToneMix.dll    (VST 2.4)
Host tool:     $here/build/linux/tools/vsthost (and build/win64/tools/vsthost.exe)
EOT
