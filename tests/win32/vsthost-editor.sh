#!/usr/bin/env bash
# vsthost editor end to end under Wine and Xvfb, with the window test plug-in: the editor opens in the
# host window, a real click reaches it and the host logs begin-edit, automation and end-edit, and the
# screenshot holds the editor's pixels. Arguments: vsthost.exe, the test plug-in DLL.
set -uo pipefail
source "$(dirname "$0")/editor-session.sh"
shot="$EDITOR_DIR/shot.png"
fail() { echo "FAIL: $*"; exit 1; }

editor_start "$1" "$2" "$shot" 2000 || fail "start"
[ "$EDITOR_W $EDITOR_H" = "320 200" ] || fail "editor size $EDITOR_W x $EDITOR_H"
editor_click 160 50
editor_wait_log 'end-edit parameter 0' || fail "host messages"
grep -q 'begin-edit parameter 0' "$EDITOR_DIR/stderr" || fail "no begin-edit"
grep -q 'automate parameter 0 = 0.500000' "$EDITOR_DIR/stderr" || fail "no automation at x / width"
editor_finish || fail "no screenshot: $(cat "$EDITOR_DIR/stderr")"

# The test editor's pattern, as WindowTestEditor::PatternAt makes it.
convert "$shot" -depth 8 rgb:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
assert len(data) == 320 * 200 * 3, len(data)
wrong = sum(1 for y in range(200) for x in range(320)
            if tuple(data[(y * 320 + x) * 3:(y * 320 + x) * 3 + 3]) != ((x * 5) & 255, (y * 3) & 255, (x ^ y) & 255))
assert wrong == 0, f"{wrong} pixels differ"
' || fail "screenshot pixels"
echo "vsthost editor: ok"
