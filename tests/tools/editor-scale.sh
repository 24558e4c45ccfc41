#!/usr/bin/env bash
# vsthost's editor window at a scale and resized by the user (run under xvfb-run), in every format:
# `--scale 2 --screenshot` saves the window at 1100 x 726 pixels; a window the user drags to
# another size ends at the editor's aspect-correct size (VST2, which gives a host no way to resize
# an editor, goes back to the editor's own size).
#   editor-scale.sh VSTHOST VST2.so PLUGIN.clap BUNDLE.vst3 BUNDLE.lv2
set -u
tool=$1
formats=(VST2 CLAP VST3 LV2)
modules=("$2" "$3" "$4" "$5")
tmp=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }
wait_for() { # seconds, command...: the condition, checked until it holds
  local tries=$(($1 * 10)); shift
  until "$@" >/dev/null 2>&1; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.1; done
}
png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }
window_size() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "${WIDTH}x${HEIGHT}"; }

for i in "${!formats[@]}"; do
  format=${formats[$i]} module=${modules[$i]}
  shot="$tmp/$format.png"
  "$tool" editor "$module" --scale 2 --screenshot "$shot" --after-ms 200 >"$tmp/$format.out" 2>&1 ||
    { fail "$format: editor --scale 2 --screenshot failed"; cat "$tmp/$format.out"; continue; }
  size=$(png_size "$shot")
  [ "$size" = 1100x726 ] || fail "$format: the screenshot at scale 2 is $size, not 1100x726"

  # Dragged to 900 x 700: the editor keeps 550:363, so 900 x 594 (VST2: back to 550 x 363).
  "$tool" editor "$module" --report-window >"$tmp/$format.ready" 2>&1 &
  pid=$!
  pids+=("$pid")
  wait_for 60 grep -q '^READY' "$tmp/$format.ready" || { fail "$format: the editor did not open"; continue; }
  window=$(xdotool search --sync --pid "$pid" --name '^vsthost: ' | head -1)
  xdotool windowsize "$window" 900 700
  want=900x594
  [ "$format" = VST2 ] && want=550x363
  # The user's size shows first; the host's answer follows.
  wait_for 30 sh -c "[ \"\$(xdotool getwindowgeometry --shell $window | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd x)\" = $want ]" ||
    fail "$format: the window dragged to 900x700 is $(window_size "$window"), not $want"
  kill "$pid"
  wait "$pid" 2>/dev/null
done
[ "$failed" = 0 ] && echo "all editor scale checks passed"
exit "$failed"
