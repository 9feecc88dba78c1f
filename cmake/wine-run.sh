#!/bin/sh
# Runs a Windows test program under Wine and returns its exit status.
#   wine-run.sh LOADER PROGRAM [ARGS...]
# LOADER is scripts/wine for an i686 program, scripts/wine64 for an x86_64
# one. The prefix is made on first use; the caller provides the display (Xvfb) when
# windows are shown. Wine's error messages go with the program's own, and a program that
# fails says so with its exit status, so that its log explains the failure. With
# VANTOR_LOCALE set, the program runs in that locale (scripts/wine-locale.sh).
set -e
wine=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all,err+all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${VANTOR_LOCALE:-}" ]; then
  root="$here/.."
  . "$root/scripts/wine-locale.sh"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$here/../scripts/wine64" wineboot -i </dev/null >/dev/null 2>&1 || true
fi

status=0
"$wine" "$@" || status=$?
[ "$status" -eq 0 ] || echo "wine-run: $(basename "$1") exited with status $status" >&2
exit "$status"
