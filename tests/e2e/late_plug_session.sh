#!/bin/sh
# A person's session with the product that starts with the adapter unplugged: the window
# opens empty, the adapter is plugged in and the window fills its list. Then a profile
# goes out to a file and comes back in through the list's menu and the system's Save and
# Open dialogs, and OK saves. The file must be what vantorctl.exe exports of that profile,
# and the memory must then hold exactly what vantorctl.exe's import of the file makes of
# the memory the session started with.
#   late_plug_session.sh BUILD-DIR WINE-LOADER
set -e
build=$(cd "$1" && pwd)
loader=$2
cd "$(dirname "$0")/../.."
. tests/e2e/product-session.sh
start_product "$build/e2e/late_plug_session" --absent

# list_menu_item DOWN-PRESSES: the list's menu, opened over the first row (it acts on the
# selected one), then its item that many places from its top (Add, Modify, Delete, Use,
# Export..., Import...).
list_menu_item() {
  set -- "$1" $(centre "$title" 1000 0)
  xdotool mousemove --sync "$2" "$3" click 3
  sleep 0.5
  xdotool key --delay 100 $(seq "$1" | sed 's/.*/Down/') Return
}

# file_dialog PATH: types the file's Windows name into the Save or Open dialog that is
# opening (its name box has the focus) and confirms it.
file_dialog() {
  sleep 2
  xdotool type --delay 20 "Z:$(printf '%s' "$1" | tr / '\\')"
  xdotool key Return
}

wait_for "$title" 1000
sleep 1
if centre "$title" 1000 0 >/dev/null 2>&1; then echo "the window listed profiles without an adapter"; exit 1; fi
adapter_control --plug
for _ in $(seq $waits); do centre "$title" 1000 0 >/dev/null 2>&1 && break; sleep 0.3; done
centre "$title" 1000 2 >/dev/null || { echo "the list was not filled when the adapter arrived"; exit 1; }

click 1000 1          # Racing
list_menu_item 5      # Export...
file_dialog "$folder/racing.json"
for _ in $(seq $waits); do [ -f "$folder/racing.json" ] && break; sleep 0.3; done
cp "$folder/before.bin" "$folder/exported.bin"
ctl --emulated "$folder/exported.bin" export "$folder/racing-ctl.json" --name Racing >/dev/null
cmp "$folder/racing.json" "$folder/racing-ctl.json"

list_menu_item 6      # Import...
file_dialog "$folder/racing.json"
sleep 1
click 1               # OK
wait_closed "$title" 1000
sleep 0.5
cp "$folder/before.bin" "$folder/expected.bin"
ctl --emulated "$folder/expected.bin" import "$folder/racing.json" >/dev/null
cmp "$memory" "$folder/expected.bin"
