#!/bin/sh
# Opens the tool on the emulated adapter: builds the x86_64 demo and runs it under wine64.
#   scripts/run-demo.sh [demo options] [MEMORY-FILE]
# MEMORY-FILE (default build/demo-adapter.bin) is the emulated adapter's memory; when it
# does not exist it is created with a few sample profiles. With a display (DISPLAY set)
# the window opens there; without one it opens on a virtual display, and a screenshot of
# it is written to build/demo-window.png, after which the demo is closed.
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
cmake --preset x86_64 >/dev/null
cmake --build build/x86_64 --target vantor-config-demo control_centre
case "$*" in
  *.bin|*.img) args="$*" ;;
  *) args="$* build/demo-adapter.bin" ;;
esac
demo=build/x86_64/app/vantor-config-demo.exe

if [ -n "${DISPLAY:-}" ]; then
  . scripts/wine-session.sh
  "$wine" "$demo" $args
  exit 0
fi

VANTOR_VIRTUAL_DISPLAY=1
VANTOR_WINE_DESKTOP=760x520
. scripts/wine-session.sh
trap wine_session_end EXIT
"$wine" "$demo" $args &
build=build/x86_64
. scripts/wine-windows.sh
wait_for "Vantor Config v1.0" 1000
sleep 1
import -window root -crop 760x520+0+0 +repage build/demo-window.png
echo "no display: the window was shown on a virtual one; screenshot: build/demo-window.png"
