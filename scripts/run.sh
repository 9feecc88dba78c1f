#!/bin/sh
# Opens the product on the emulated adapter: builds the product and the emulated adapter
# (the i686 build where 32-bit Windows programs run, else x86_64), starts the adapter
# behind the driver's interface in the project's Wine prefix and runs the product there.
#   scripts/run.sh [--absent] [--fail-transfer N]... [MEMORY-FILE]
# MEMORY-FILE (default build/emulated-adapter.bin) is the emulated adapter's memory; when
# it does not exist it is created with a few sample profiles. With a display (DISPLAY set)
# the window opens there; without one it opens on a virtual display, and a screenshot of
# it is written to build/window.png, after which the product is closed.
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
memory=build/emulated-adapter.bin
options=""
while [ $# -gt 0 ]; do
  case "$1" in
    --fail-transfer) options="$options $1 $2"; shift ;;
    --*) options="$options $1" ;;
    *) memory=$1 ;;
  esac
  shift
done

if [ -z "${DISPLAY:-}" ]; then
  VANTOR_VIRTUAL_DISPLAY=1
  VANTOR_WINE_DESKTOP=760x520
fi
. scripts/wine-session.sh
. scripts/emulated-adapter.sh
product_build vantor-config emulated-adapter control_centre
echo "the $(basename "$build") build on the emulated adapter, memory $memory"
trap 'adapter_stop; wine_session_end' EXIT
# shellcheck disable=SC2086 # the options are words
adapter_start "$memory" $options

if [ -z "${VANTOR_VIRTUAL_DISPLAY:-}" ]; then
  "$wine" "$build/app/vantor-config.exe"
  exit 0
fi
"$wine" "$build/app/vantor-config.exe" &
title="Vantor Config v1.0"
. scripts/wine-windows.sh
wait_for "$title" 1000
sleep 1
import -window root -crop 760x520+0+0 +repage build/window.png
echo "no display: the window was shown on a virtual one; screenshot: build/window.png"
