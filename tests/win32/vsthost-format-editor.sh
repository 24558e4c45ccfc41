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

# The typed value as the host logs it: in hertz from CLAP, normalised from VST3 (as info shows it).
normalised=$(wine "$vsthost" info "$(_winpath "$module")" -p "Base Freq=440" | tr -d '\r' |
  sed -n 's/^param  0 Base Freq | [^|]* | [^|]* | //p')
EDITOR_EXTRA=--print-params
editor_start "$vsthost" "$module" "$EDITOR_DIR/input.png" 30000 || exit 1
log="$EDITOR_DIR/stderr"
check "the editor opens at 550 x 363" "[ '$EDITOR_W $EDITOR_H' = '550 363' ]"
editor_drag 48 129 48 100 # "Base Freq" up
gestures() { sed -n "1,/end-edit parameter $1/p" "$log" | tr -d '\r' | sed 's/ = .*//' | uniq | tr '\n' '|'; }
check "a drag on Base Freq is begin-edit, values, end-edit" \
  "editor_wait_log 'end-edit parameter 0' &&
   [ \"\$(gestures 0)\" = 'host: begin-edit parameter 0|host: automate parameter 0|host: end-edit parameter 0|' ]"
editor_click 48 129 3 # its entry field, given time to open on a busy machine
sleep 0.8
editor_type 440
editor_key Return
check "a typed entry is a gesture too" "editor_wait_log 'automate parameter 0 = (440.000000|$normalised)'"
editor_key alt+F4
wait "$EDITOR_PID"
check "typed 440 sets Base Freq" "tr -d '\r' <'$EDITOR_DIR/stdout' | grep -qx 'Base Freq=440.0'"
check "no host rule broken" "! grep -q 'plug-in error' '$log'"
[ "$failed" = 0 ] || { echo "host log:"; cat "$log"; }
exit "$failed"
