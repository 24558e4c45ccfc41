#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets: valid state chunks taken from the plug-in through the
# host tool, plus a few cut or headerless variants. For the chunk target the first byte of each seed
# chooses program (even) or bank (odd) and, with bit 1 set, a program change (index (byte >> 2) * 150 / 63).
# For the state target each seed is a whole state: the banks in containers of both versions, bare,
# and in containers a new format must refuse.
# Usage: tests/fuzz/make-corpus.sh BUILD_DIR   (a native build with vsthost and the module)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: make-corpus.sh BUILD_DIR}
host="$build/tools/vsthost"
module="$build/twinPulseToneMix.so"
out="$here/corpus"
states="$here/state-corpus"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The chunk inside a chunk-form preset file: after the 56-byte program or 156-byte bank header
# and the 4-byte size.
chunk_of() { tail -c +"$(($2 + 5))" "$1"; }
seed() { { printf "$(printf '\\x%02x' "$2")"; cat; } > "$out/$1"; }

"$host" export-fxp "$module" --chunk -o "$tmp/default.fxp"
"$host" export-fxp "$module" --chunk --program 126 -o "$tmp/solfeggio.fxp"
"$host" export-fxb "$module" --chunk -o "$tmp/factory.fxb"
# A bank with user presets and a renamed slot: the parameter form walks every program.
"$host" export-fxb "$module" -o "$tmp/walked.fxb"
"$host" export-fxb "$module" --chunk --load "$tmp/walked.fxb" -o "$tmp/walked-chunk.fxb"

rm -rf "$out" && mkdir -p "$out"
chunk_of "$tmp/default.fxp" 56 | seed program-default 0
chunk_of "$tmp/solfeggio.fxp" 56 | seed program-solfeggio-select-57 $((2 | 6 << 2))
chunk_of "$tmp/default.fxp" 56 | head -c 184 | seed program-cut 0
chunk_of "$tmp/solfeggio.fxp" 56 | tail -c +9 | seed program-headerless-as-bank 1
chunk_of "$tmp/factory.fxb" 156 | seed bank-factory 1
chunk_of "$tmp/walked-chunk.fxb" 156 | seed bank-user-presets-select-free $((3 | 60 << 2))
chunk_of "$tmp/factory.fxb" 156 | head -c 3000 | seed bank-cut 1
printf 'tffp' | seed bank-magic-only 1

# Container headers: magic, then little-endian version, parameter count, (version 2) program and
# (version 3) the editor's scale as a double.
u32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
state() { # name version params [program [scale bytes]] < bank
  { printf 'tPTM' && u32 "$2" && u32 "$3" && { [[ -z ${4:-} ]] || u32 "$4"; } &&
    { [[ -z ${5:-} ]] || printf "$5"; } && cat; } > "$states/$1"
}
rm -rf "$states" && mkdir -p "$states"
chunk_of "$tmp/factory.fxb" 156 | state v2-factory-program-5 2 23 5
chunk_of "$tmp/walked-chunk.fxb" 156 | state v2-user-presets-program-60 2 23 60
chunk_of "$tmp/factory.fxb" 156 | state v2-program-past-the-bank 2 23 150
chunk_of "$tmp/factory.fxb" 156 | head -c 1984 | state v2-cut 2 23 3
chunk_of "$tmp/factory.fxb" 156 | state v1-factory 1 23
chunk_of "$tmp/walked-chunk.fxb" 156 | state v1-user-presets 1 23
chunk_of "$tmp/factory.fxb" 156 | state v3-editor-scale-2 3 23 5 '\x00\x00\x00\x00\x00\x00\x00\x40'
chunk_of "$tmp/factory.fxb" 156 | state v4-later-version 4 23 0
chunk_of "$tmp/factory.fxb" 156 | state v2-other-param-count 2 24 0
chunk_of "$tmp/factory.fxb" 156 > "$states/bare-bank"
ls -l "$out" "$states"
