#!/usr/bin/env bash
# The editor in `vsthost editor` under Wine with the system at 192 dots an inch (run inside
# scripts/wine-windowed.sh with a prefix of its own and a display larger than the 2x editor): each
# build's editor opens at 2x, as the reference 2x picture; the host tool says that --scale cannot
# reach a VST2 editor on Windows.
#   editor-dpi.sh VSTHOST REFERENCE_2X_PNG OUTDIR MODULE...
set -uo pipefail
here=$(dirname "$0")
vsthost=$1 reference=$2 out=$3
shift 3
source "$here/editor-session.sh"
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

# What winecfg's "Screen resolution" writes; processes started afterwards read it.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
mkdir -p "$out"
# vsthost lets its window be resized, so its editor shows the resize grip (14 units) in the corner.
corner() { convert "$1" -fill black -draw "rectangle 1072,698 1099,725" "$2"; }
corner "$reference" "$out/reference-masked.png"
for module in "$@"; do
  name=$(basename "$module")
  shot="$out/$name.png" log="$out/$name.log"
  rm -f "$shot"
  # The VST2 build is also given --scale, which it cannot honour; the others take the system's DPI.
  extra=()
  case "$module" in *.dll) extra=(--scale 1.5) ;; esac
  wine "$vsthost" editor "$(_winpath "$module")" --screenshot "$(_winpath "$shot")" "${extra[@]}" >"$log" 2>&1
  size=$(identify -format '%wx%h' "$shot" 2>/dev/null)
  check "$name opens at 2x on a 192-dpi system (picture $size)" "[ '$size' = 1100x726 ]"
  corner "$shot" "$out/$name-masked.png"
  check "$name draws the 2x editor" \
    "bash '$here/../editor/compare-screenshots.sh' '$out/$name-masked.png' '$out/reference-masked.png' 2"
  if [ ${#extra[@]} -gt 0 ]; then
    check "$name: --scale says it does not reach a VST2 editor on Windows" \
      "tr -d '\r' <'$log' | grep -q '^vsthost: --scale is not for VST2 editors on Windows'"
  fi
done
[ "$failed" = 0 ] || tail -n +1 "$out"/*.log
exit "$failed"
