#!/bin/sh
# Runs a Windows test program under Wine and returns its exit status.
#   wine-run.sh LOADER PROGRAM [ARGS...]
# LOADER is /usr/lib/wine/wine for an i686 program, /usr/lib/wine/wine64 for an x86_64
# one. The prefix is made on first use; the caller provides the display (Xvfb) when
# windows are shown.
set -e
wine=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
fi
exec "$wine" "$@"
