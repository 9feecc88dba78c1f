#!/bin/sh
# Runs a Windows test program under Wine and returns its exit status.
#   wine-run.sh LOADER PROGRAM [ARGS...]
# LOADER is /usr/lib/wine/wine for an i686 program, /usr/lib/wine/wine64 for an x86_64
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
  /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# run: the program once; its output passes through and is kept in $work/out.
run() {
  { code=0; "$wine" "$@" || code=$?; echo "$code" >"$work/status"; } | tee "$work/out"
  status=$(cat "$work/status")
}
run "$@"
# A test program writes its first lines before any of its tests runs: one that failed
# without writing anything died while Wine started it, before a line of the test ran. Only
# such a program runs once more, and the log says so.
if [ "$status" -ne 0 ] && [ ! -s "$work/out" ]; then
  echo "wine-run: $(basename "$1") exited with status $status before it wrote anything: Wine failed to start it; running it once more" >&2
  run "$@"
fi
[ "$status" -eq 0 ] || echo "wine-run: $(basename "$1") exited with status $status" >&2
exit "$status"
