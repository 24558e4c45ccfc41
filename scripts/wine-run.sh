#!/usr/bin/env bash
# Runs a Win64 program under wine64 in the project's own prefix, quietly.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/.deps/wine}" WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
