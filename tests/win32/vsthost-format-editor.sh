#!/usr/bin/env bash
# The Win64 CLAP or VST3 build's editor in `vsthost editor` under Wine (run inside
# scripts/wine-windowed.sh): a drag and a typed entry reach the host as gesture begin, values and
# gesture end, on the user-interface thread.
#   vsthost-format-editor.sh VSTHOST MODULE.clap|BUNDLE.vst3
set -uo pipefail
here=$(dirname "$0")
vsthost=$1 module=$2
source "$here/editor-session.sh"
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

EDITOR_EXTRA=--print-params
editor_start "$vsthost" "$module" "$EDITOR_DIR/input.png" 30000 || exit 1
log="$EDITOR_DIR/stderr"
check "the editor opens at 550 x 363" "[ '$EDITOR_W $EDITOR_H' = '550 363' ]"
editor_drag 48 129 48 100 # "Base Freq" up
gestures() { sed -n "1,/end-edit parameter $1/p" "$log" | tr -d '\r' | sed 's/ = .*//' | uniq | tr '\n' '|'; }
check "a drag on Base Freq is begin-edit, values, end-edit" \
  "editor_wait_log 'end-edit parameter 0' &&
   [ \"\$(gestures 0)\" = 'host: begin-edit parameter 0|host: automate parameter 0|host: end-edit parameter 0|' ]"
editor_click 48 129 3 # its entry field
sleep 0.3
editor_type 440
editor_key Return
# The second gesture on Base Freq is the typed entry (CLAP reports hertz, VST3 normalised values).
second_gesture() {
  local i
  for i in $(seq 30); do
    [ "$(grep -c 'end-edit parameter 0' "$log")" -ge 2 ] && grep -q 'automate parameter 0' "$log" && return 0
    sleep 0.1
  done
  return 1
}
check "a typed entry is a gesture too" second_gesture
editor_key alt+F4
wait "$EDITOR_PID"
check "typed 440 sets Base Freq" "tr -d '\r' <'$EDITOR_DIR/stdout' | grep -qx 'Base Freq=440.0'"
check "no host rule broken" "! grep -q 'plug-in error' '$log'"
[ "$failed" = 0 ] || { echo "host log:"; cat "$log"; }
exit "$failed"
