#!/bin/sh
# Renders what a person sees to PNG files: the product's main window on the emulated
# adapter's sample profiles, the game name dialog (opened with Add) and the About box
# (from the system menu).
#   scripts/screenshots.sh [OUT-DIR]   (default build/screenshots)
set -e
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
scripts/setup-machine.sh
VANTOR_VIRTUAL_DISPLAY=1
VANTOR_WINE_DESKTOP=760x520
. scripts/wine-session.sh
. scripts/emulated-adapter.sh
product_build vantor-config emulated-adapter control_centre
trap 'adapter_stop; wine_session_end' EXIT

memory=build/screenshots-adapter.bin
rm -f "$memory"
adapter_start "$memory"
title="Vantor Config v1.0"
"$wine" "$build/app/vantor-config.exe" >/dev/null 2>&1 &
. scripts/wine-windows.sh
shot() { sleep 1; import -window root -crop 760x520+0+0 +repage "$out/$1.png"; echo "$out/$1.png"; }

wait_for "$title" 1000
shot main-window
click 1013
wait_for Dialog 1011
shot game-name-dialog
xdotool key Escape
sleep 0.5
click 1000 0
xdotool key alt+space
sleep 0.5
xdotool key Up Return
wait_for "关于 Brenvo" 1
shot about-box
xdotool key Return
