# Helpers for end-to-end editor tests, sourced by scripts that run inside scripts/wine-windowed.sh:
# start `vsthost editor` on a module, act on the editor with real X input at editor coordinates, and
# read what the host logged.
#   editor_start VSTHOST MODULE SHOT.png AFTER_MS   starts it (with $EDITOR_EXTRA options); sets EDITOR_X
#                                                   EDITOR_Y EDITOR_W EDITOR_H
#   editor_click X Y [BUTTON]    editor_drag X1 Y1 X2 Y2    editor_wheel X Y UP|DOWN [COUNT]
#   editor_type TEXT             editor_key KEY             editor_wait_log REGEX [SECONDS]
#   editor_finish                waits for the screenshot and the exit; 0 on success
# Logs are in $EDITOR_DIR/stdout and $EDITOR_DIR/stderr (the host's --log-automation lines).

EDITOR_DIR=$(mktemp -d)

# Windows programs take Unix paths on drive Z: (a leading "/" would read as a Windows-style option).
_winpath() { local p; p=$(realpath -m "$1"); p=${p//\//\\}; echo "Z:$p"; }
editor_start() {
  wine "$1" --log-automation editor "$(_winpath "$2")" --screenshot "$(_winpath "$3")" --after-ms "$4" --report-window \
    ${EDITOR_EXTRA:-} >"$EDITOR_DIR/stdout" 2>"$EDITOR_DIR/stderr" &
  EDITOR_PID=$!
  local i
  for i in $(seq 150); do
    grep -q '^READY' "$EDITOR_DIR/stdout" 2>/dev/null && break
    kill -0 "$EDITOR_PID" 2>/dev/null || break
    sleep 0.1
  done
  read -r _ EDITOR_X EDITOR_Y EDITOR_W EDITOR_H < <(grep '^READY' "$EDITOR_DIR/stdout" | tr -d '\r') || {
    echo "editor did not start:"; cat "$EDITOR_DIR/stderr"; return 1; }
  sleep 0.3 # the first frame
}
_at() { echo "$((EDITOR_X + $1)) $((EDITOR_Y + $2))"; }
editor_click() { xdotool mousemove $(_at "$1" "$2") click "${3:-1}"; }
editor_drag() {
  xdotool mousemove $(_at "$1" "$2") mousedown 1 mousemove $(_at "$1" $((($2 + $4) / 2))) \
    mousemove $(_at "$3" "$4") mouseup 1
}
editor_wheel() {
  local button=4; [ "$3" = DOWN ] && button=5
  xdotool mousemove $(_at "$1" "$2") click --repeat "${4:-1}" --delay 30 "$button"
}
editor_type() { xdotool type --delay 30 "$1"; }
editor_key() { xdotool key "$1"; }
editor_wait_log() {
  local i
  for i in $(seq $((${2:-3} * 10))); do
    grep -qE "$1" "$EDITOR_DIR/stderr" && return 0
    sleep 0.1
  done
  echo "no host message matching '$1'; the host saw:"; cat "$EDITOR_DIR/stderr"; return 1
}
editor_finish() {
  wait "$EDITOR_PID" && grep -q '^SCREENSHOT' "$EDITOR_DIR/stdout"
}
