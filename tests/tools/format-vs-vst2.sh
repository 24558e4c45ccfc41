#!/usr/bin/env bash
# The same vsthost commands on the VST2 build and another format's build of the plug-in (CLAP, VST3 or
# LV2, run under xvfb-run): renders of the default program, a factory program, synced LFOs with the
# transport running and stopped, in 64 and 32 bits, are bit-identical; info after text settings and
# params agree, but for the other build's names, every one its own; a schedule and the VST2 build's
# preset files give the VST2 render's samples, and the other build exports the VST2 build's files byte
# for byte; the other build's editor looks like the VST2 one, takes a mouse drag and a typed entry,
# and the host sees gesture begin, value and gesture end, all on its user-interface thread.
# With `editor-only` just the editor, with `files-only` just the schedule and the preset files.
#   format-vs-vst2.sh VSTHOST VST2-MODULE OTHER-MODULE [editor-only|files-only]
set -u
tool=$1 vst2=$2 other=$3 only=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'kill $editor 2>/dev/null; rm -rf "$tmp"' EXIT
editor=
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

renders_and_texts() {
  same() { # what, render options...
    local what=$1; shift
    "$tool" render "$vst2" -q -o "$tmp/vst2.f32" "$@" 2>"$tmp/vst2.log" || { fail "$what: VST2 render"; return; }
    "$tool" render "$other" -q -o "$tmp/other.f32" "$@" 2>"$tmp/other.log" || { fail "$what: render: $(cat "$tmp/other.log")"; return; }
    local result; result=$("$tool" compare "$tmp/vst2.f32" "$tmp/other.f32")
    case $result in *"largest difference 0") echo "ok   $what: $result" ;; *) fail "$what: $result" ;; esac
  }
  same "default program, 64-bit" -s 1 --double
  same "factory program 7, 32-bit blocks of 256" -s 1 -b 256 --program 7
  same "synced LFO at 120 BPM, playing" -s 2 -t 120 -p "LFO1 Target=Base Freq" -p "LFO1 Sync=Yes"
  same "synced LFO at 120 BPM, stopped" -s 2 -t 120 --stopped -p "LFO1 Target=Base Freq" -p "LFO1 Sync=Yes"
  same "text settings" -s 1 -p "Base Freq=333" -p "Beats=Monaural" -p "Mix=25"

  # Index and display text: the names differ where VST2 keeps two alike (below).
  texts() { "$tool" info "$1" -p "Base Freq=333" -p Wave=Triangle | awk -F'|' '/^param/ {split($1, a, " "); print a[2], $3}'; }
  texts "$vst2" >"$tmp/vst2.txt"
  texts "$other" >"$tmp/other.txt"
  if diff "$tmp/vst2.txt" "$tmp/other.txt" >"$tmp/diff.txt"; then
    echo "ok   info: the same display texts after the same settings"
  else
    fail "info differs between the formats:"; cat "$tmp/diff.txt"
  fi

  # Everything but the name; the hidden trigger (22) is the plug-in's own: VST3 marks it read-only, so its
  # range reads 0 to 0 there.
  visible_params() { "$tool" params "$1" | grep -v '^22 ' | cut -d'|' -f1,3-; }
  if diff <(visible_params "$vst2") <(visible_params "$other") >"$tmp/diff.txt"; then
    echo "ok   params: the same ranges, lists and values"
  else
    fail "params differs between the formats:"; cat "$tmp/diff.txt"
  fi
  # VST2 keeps the names its projects know, two of them alike; the other formats list every parameter
  # under a name of its own, so none needs setting by index.
  "$tool" params "$other" | tail -n +2 | cut -d'|' -f2 >"$tmp/names.txt"
  if ! grep -q 'set as' "$tmp/names.txt" && [ "$(sort -u "$tmp/names.txt" | wc -l)" = 23 ]; then
    echo "ok   params: every parameter has a name of its own"
  else
    fail "params: names shared or missing:"; cat "$tmp/names.txt"
  fi
}
schedules_and_files() {
  same_render() { # what, render options...
    local what=$1; shift
    "$tool" render "$vst2" -q -o "$tmp/vst2.f32" "$@" 2>"$tmp/vst2.log" || { fail "$what: VST2: $(cat "$tmp/vst2.log")"; return; }
    "$tool" render "$other" -q -o "$tmp/other.f32" "$@" 2>"$tmp/other.log" || { fail "$what: $(cat "$tmp/other.log")"; return; }
    local result; result=$("$tool" compare "$tmp/vst2.f32" "$tmp/other.f32")
    case $result in *"largest difference 0") echo "ok   $what: $result" ;; *) fail "$what: $result" ;; esac
  }
  # Lists switch, a program step, ramps on a curved and on a whole-number parameter (that one from a
  # value set on the same frame), the VST2 build's shared name given by index.
  cat >"$tmp/test.schedule" <<'EOF'
0:00 "Base Freq"=180 Binaural=10 Mix=0 "Play Anyway"=Yes
0:00 Mix=60 over 0:01
0:00.5 program 7
0:01 Binaural=6 "Base Freq"=150 over 0:01.3
0:02.2 Wave=Triangle "LFO1 Target"="Base Freq" #12=300 Fade=3000 Mix=80 over 0:00.5
end 0:03
EOF
  same_render "render --schedule" --schedule "$tmp/test.schedule"

  local kind setup=(--program 9 -p "Base Freq=321" -p Binaural=7.5)
  for kind in fxb fxp; do
    "$tool" export-$kind "$vst2" --chunk -o "$tmp/vst2.$kind" "${setup[@]}" || { fail "VST2 export-$kind"; continue; }
    same_render "--load of the VST2 build's .$kind" -s 1 --load "$tmp/vst2.$kind"
    "$tool" export-$kind "$other" --chunk -o "$tmp/other.$kind" "${setup[@]}" 2>"$tmp/export.log" &&
      cmp -s "$tmp/vst2.$kind" "$tmp/other.$kind" && echo "ok   export-$kind --chunk writes the VST2 build's file" ||
      fail "export-$kind --chunk: $(cat "$tmp/export.log"; cmp "$tmp/vst2.$kind" "$tmp/other.$kind")"
  done
  # A file of VST2 parameter values is refused with the way out, and nothing is rendered.
  "$tool" export-fxp "$vst2" -o "$tmp/params.fxp"
  if "$tool" render "$other" -q -s 1 --load "$tmp/params.fxp" -o "$tmp/refused.f32" 2>"$tmp/refused.log"; then
    fail "a parameter-value .fxp was loaded"
  elif grep -q 'use a chunk file' "$tmp/refused.log" && [ ! -e "$tmp/refused.f32" ]; then
    echo "ok   a parameter-value .fxp is refused: $(cat "$tmp/refused.log")"
  else
    fail "parameter-value .fxp: $(cat "$tmp/refused.log")"
  fi
}
case $only in
  editor-only) ;;
  files-only) schedules_and_files; exit $failures ;;
  *) renders_and_texts; schedules_and_files ;;
esac

# The editor's picture, the editor's size included, against the VST2 editor's.
"$tool" editor "$vst2" --screenshot "$tmp/vst2.png" --after-ms 1000 >/dev/null 2>&1
"$tool" editor "$other" --screenshot "$tmp/other.png" --after-ms 1000 >/dev/null 2>"$tmp/shot.log" ||
  fail "editor screenshot: $(cat "$tmp/shot.log")"
if result=$(bash "$here/../editor/compare-screenshots.sh" "$tmp/vst2.png" "$tmp/other.png" 2>&1); then
  echo "ok   the editor looks like the VST2 one: $result"
else
  fail "editor picture: $result"
fi

"$tool" --log-automation editor "$other" --report-window --print-params >"$tmp/editor.txt" 2>"$tmp/editor.log" &
editor=$!
for _ in $(seq 100); do grep -q READY "$tmp/editor.txt" 2>/dev/null && break; sleep 0.1; done
window=$(timeout 5 xdotool search --sync --name 'vsthost: twinPulseToneMix' | head -1)
[ -n "$window" ] || { echo "FAIL no editor window"; cat "$tmp/editor.log"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
knob_x=$((X + 48)) knob_y=$((Y + 129)) # "Base Freq", as laid out in the editor
xdotool mousemove $knob_x $knob_y mousedown 1 mousemove $knob_x $((knob_y - 10)) \
  mousemove $knob_x $((knob_y - 30)) mouseup 1
sleep 0.5
# A typed entry on "Binaural": right-click opens the field, a decimal comma reads as a point.
xdotool mousemove $((X + 122)) $((Y + 130)) click 3
sleep 0.3
xdotool type 136,1
xdotool key Return
sleep 0.5
xdotool windowclose "$window"
wait "$editor" || fail "the editor exited with $?"
editor=
first=$(grep '^host:.*parameter 0' "$tmp/editor.log" | head -1) last=$(grep '^host:.*parameter 0' "$tmp/editor.log" | tail -1)
if [ "$first" = "host: begin-edit parameter 0" ] && [ "$last" = "host: end-edit parameter 0" ] &&
  grep -q '^host: automate parameter 0 = ' "$tmp/editor.log"; then
  echo "ok   editor drag: $(grep -c '^host:.*parameter 0' "$tmp/editor.log") gesture and value events on Base Freq"
else
  fail "editor gestures:"; cat "$tmp/editor.log"
fi
grep -Eq '^Base Freq=200(\.0)?$' "$tmp/editor.txt" && fail "the drag did not change Base Freq"
grep -Eq '^Binaural=136\.10?$' "$tmp/editor.txt" && grep -q '^host: automate parameter 1 = ' "$tmp/editor.log" &&
  grep -q '^host: end-edit parameter 1' "$tmp/editor.log" && echo "ok   typed entry reaches the host" ||
  { fail "typed entry:"; grep -E 'Binaural|parameter 1' "$tmp/editor.txt" "$tmp/editor.log"; }
# LV2's editor tells the host of the typed entry once: the right-click that opens it is no gesture, and
# nothing follows the gesture's end.
typed=$(grep -E '^host: .* parameter 1( |$)' "$tmp/editor.log" | sed 's/ = .*//' | paste -sd,)
case $other in *.lv2)
  [ "$typed" = "host: begin-edit parameter 1,host: automate parameter 1,host: end-edit parameter 1" ] &&
    echo "ok   typed entry: one gesture around one value" || fail "typed entry events: $typed" ;;
esac
grep -q 'plug-in error' "$tmp/editor.log" && { fail "host rules broken:"; cat "$tmp/editor.log"; }
exit $failures
