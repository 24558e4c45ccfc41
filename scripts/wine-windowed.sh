#!/usr/bin/env bash
# Runs a command with a display of its own (Xvfb) and a Wine prefix kept for window runs only: a Wine
# prefix whose background processes started without a display cannot show windows, so window runs
# never share the headless prefix. The prefix is made on first use (about 10 s). Windowed runs must not
# overlap each other (one display per prefix); the test registration serialises them. TPM_WINE_SCREEN
# sets the display's size (WIDTHxHEIGHTxDEPTH) for windows larger than the default.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${TPM_WINE_GUI_PREFIX:-$here/.deps/wine-gui}" WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
wineserver -w 2>/dev/null || true # a previous run's background processes belong to another display
exec xvfb-run -a -s "-screen 0 ${TPM_WINE_SCREEN:-1024x768x24}" bash -c '"$@"; rc=$?; wineserver -w; exit $rc' windowed "$@"
