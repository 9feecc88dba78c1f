#!/bin/sh
# A person's session with the demo, driven by real X input on a virtual display: select
# a profile, press keys in key boxes, add a profile and name it, rename one, press OK.
# Then the emulated adapter's memory file must hold exactly the image expected.
#   demo_session.sh BUILD-DIR WINE-LOADER   (the loader of the build's bitness)
set -e
build=$(cd "$1" && pwd)
loader=$2
cd "$(dirname "$0")/../.."
VANTOR_VIRTUAL_DISPLAY=1
VANTOR_WINE_DESKTOP=1024x768
. scripts/wine-session.sh
trap wine_session_end EXIT
wine=$loader
title="Vantor Config v1.0"
. scripts/wine-windows.sh

memory="$build/demo-session.bin"
rm -f "$memory"
"$wine" "$build/app/vantor-config-demo.exe" "$memory" >/dev/null 2>&1 &

type_name() {  # into the name dialog, which is open: the focus is on OK, so click the box
  wait_for Dialog 1011
  set -- "$1" $(centre "Dialog" 1011)
  xdotool mousemove --sync "$2" "$3" click --repeat 3 1
  xdotool key ctrl+a BackSpace type "$1"
  xdotool key Return
  sleep 0.5
}

wait_for "$title" 1000
sleep 1
click 1000 1          # Racing
click 1104            # the A box
xdotool key q k       # Q into A, then the focus is on B: K into B
sleep 0.3
click 1013            # Add
type_name Puzzle
click 1000 0          # Shooter
set -- $(centre "$title" 1000 0)
xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1   # double click: Modify
type_name Arena
click 1               # OK: the save takes about 1.3 s
wait_closed "$title" 1000
sleep 0.5
"$wine" "$build/tests/e2e/demo_session_check.exe" "$memory"
