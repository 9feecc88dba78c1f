#!/bin/sh
# A person's session with the product on the emulated adapter, driven by real X input on
# a virtual display: open the About box (in the language of the session's locale), select
# a profile, press keys in key boxes, add a profile and name it, rename one, delete one,
# make one active, press OK. The adapter's memory file must then hold exactly the image
# expected. Keys are pressed by position: under any keyboard layout
# (VANTOR_KEYBOARD_LAYOUT=fr, outside a running Wine session) the image is the same.
# Before OK, vantorctl.exe makes another profile active: OK must ask before writing over that;
# "No" leaves the memory as vantorctl wrote it, OK again with "Yes" saves. While that save
# runs, vantorctl.exe does so again: it waits for the save to end, so the memory ends as the
# window's image with vantorctl's change on top, none of the two torn.
# Then the product opens again: a key pressed and a profile deleted, both taken back with
# Ctrl+Z, then a profile renamed; OK writes that record and the header alone (4 write
# packets), byte for byte as vantorctl's rename does.
# With --unplug-before-ok the adapter is unplugged before OK instead: OK must say so and
# write nothing; once the adapter is plugged in again, the next OK saves every edit.
#   product_session.sh BUILD-DIR WINE-LOADER [--unplug-before-ok]
set -e
build=$(cd "$1" && pwd)
loader=$2
unplug=${3:-}
cd "$(dirname "$0")/../.."
. tests/e2e/product-session.sh
folder="$build/e2e/product_session${unplug:+_unplugged}${VANTOR_LOCALE:+_$VANTOR_LOCALE}"
packets="$folder/write-packets"
start_product "$folder" --count-writes "$packets"

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
case "$LANG" in
  zh_CN*) about="关于 Brenvo" ;;
  *) about="About Brenvo" ;;
esac
click 1000 1          # Racing
xdotool key alt+space
sleep 0.5
xdotool key Up Return # the system menu's last item: About
wait_for "$about" 1
xdotool key Return
wait_closed "$about" 1
click 1000 1          # Racing
click 1104            # the A box
xdotool key 24 45     # by position (X key codes): Q into A, then the focus is on B: K into B
sleep 0.3
click 1013            # Add
type_name Puzzle
click 1000 0          # Shooter
set -- $(centre "$title" 1000 0)
xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1   # double click: Modify
type_name Arena
click 1000 2          # Flight
click 1014            # Delete
click 1000 2          # Puzzle, in Flight's row now
click 1015            # Use

# press_in_box BUTTON-ID: a button of the message box that is open.
press_in_box() {
  wait_for "Vantor Config" "$1"
  set -- $(centre "Vantor Config" "$1")
  xdotool mousemove --sync "$1" "$2" click 1
  wait_closed "Vantor Config" "$1"
}

ctl() { "$wine" "$build/vantorctl/vantorctl.exe" "$@"; }

if [ -n "$unplug" ]; then
  adapter_control --unplug
  click 1             # OK: the adapter cannot be opened, a message box says so
  press_in_box 1
  cmp "$memory" "$folder/before.bin"
  adapter_control --plug
  click 1             # OK: the save takes about 1.3 s
  wait_closed "$title" 1000
  sleep 0.5
  "$wine" "$build/tests/e2e/session_image.exe" "$memory"
  exit 0
fi

ctl use Racing >"$folder/ctl-before-ok.log"
cp "$memory" "$folder/theirs.bin"
click 1               # OK: the adapter changed since the load, a question
press_in_box 7        # No
cmp "$memory" "$folder/theirs.bin"
click 1
press_in_box 6        # Yes: the save begins
for _ in $(seq 100); do cmp -s "$memory" "$folder/theirs.bin" || break; sleep 0.05; done
ctl use Racing >"$folder/ctl-during-save.log"
wait_closed "$title" 1000
sleep 0.5
"$wine" "$build/tests/e2e/session_image.exe" --write "$folder/expected.bin"
ctl --emulated "$folder/expected.bin" use Racing >/dev/null
cmp "$memory" "$folder/expected.bin"

"$wine" "$build/app/vantor-config.exe" >/dev/null 2>&1 &
product=$!
wait_for "$title" 1000
sleep 1
click 1104            # the A box of Arena
xdotool key 45        # K into A
click 1000 0          # the list: Ctrl pressed in a key box would be a key of its own
xdotool key ctrl+z    # A as it was
click 1014            # Delete: Arena goes
click 1000 0          # Racing, in Arena's row now
xdotool key ctrl+z    # Arena back, selected
sleep 0.3
set -- $(centre "$title" 1000 0)
xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1   # double click on Arena: Modify
type_name "Arena 2"
sent_before_ok=$(cat "$packets")
click 1               # OK
wait_closed "$title" 1000
sent=$(($(cat "$packets") - sent_before_ok))
ctl --emulated "$folder/expected.bin" rename 0 "Arena 2" >/dev/null
cmp "$memory" "$folder/expected.bin"
[ "$sent" = 4 ] || { echo "OK after a rename: $sent write packets, not 4"; exit 1; }
