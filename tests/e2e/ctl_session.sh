#!/bin/sh
# vantorctl through the adapter's driver interface, served by the emulated adapter (one
# that allows one open handle, so each run must close what it opened): dump
# lists its profiles, backup copies its memory byte for byte, restore makes its memory
# another image byte for byte, list lists that image's profiles, a name the code page
# cannot write is refused (a program folder with such a character is not), and use and
# delete change the memory exactly as the window's Use and Delete followed by OK would,
# each writing the header alone.
#   ctl_session.sh BUILD-DIR WINE-LOADER   (the loader of the build's bitness)
set -e
build=$(cd "$1" && pwd)
loader=$2
cd "$(dirname "$0")/../.."
. scripts/wine-session.sh
wine=$loader
. scripts/emulated-adapter.sh
trap 'adapter_stop; wine_session_end' EXIT

folder="$build/e2e/ctl_session"
rm -rf "$folder"
mkdir -p "$folder"
memory="$folder/memory.bin"
packets="$folder/write-packets"
adapter_start "$memory" --count-writes "$packets" --one-open-handle
ctl="$build/vantorctl/vantorctl.exe"
cd "$folder"  # file names as a Windows user gives them: relative to the current folder

"$wine" "$ctl" dump >dump.txt
for name in Shooter Racing Flight; do
  grep -q "\"$name\"" dump.txt || { echo "dump does not list $name:"; cat dump.txt; exit 1; }
done
"$wine" "$ctl" backup backup.bin
cmp backup.bin memory.bin
# sends PACKETS COMMAND...: the command sends that many write packets, two per block.
sends() {
  expected=$1
  shift
  before=$(cat "$packets")
  "$@"
  sent=$(($(cat "$packets") - before))
  [ "$sent" = "$expected" ] || { echo "$*: $sent write packets, not $expected"; exit 1; }
}
"$wine" "$build/tests/e2e/session_image.exe" --write wanted.bin
sends 8 "$wine" "$ctl" restore wanted.bin  # slots 0, 1 and 3 and the header differ
cmp memory.bin wanted.bin

# The list commands change the memory as the window's Use and Delete followed by OK do.
"$wine" "$ctl" list >list.txt
printf '0\t-\tArena\r\n1\t-\tRacing\r\n3\t*\tPuzzle\r\n' | cmp - list.txt || { echo "list:"; cat list.txt; exit 1; }
# A character that code page 936 lacks would reach the program as a look-alike or "?":
# the call is refused (a wrong call) and writes nothing, as the steps below find.
status=0
"$wine" "$ctl" rename 0 "Smile 😀" 2>/dev/null || status=$?
[ "$status" = 2 ] || { echo "a name outside code page 936: exit status $status, not 2"; exit 1; }
# The program's own folder may hold such a character: only the arguments are names.
mkdir -p "Łukasz"
cp "$ctl" "Łukasz/vantorctl.exe"
"$wine" "Łukasz/vantorctl.exe" list | cmp - list.txt || { echo "vantorctl in a folder outside code page 936 fails"; exit 1; }
window_commands=""
step() {  # step "VANTORCTL COMMAND" "WINDOW COMMAND": the memory then holds the restored
          # image changed by every window command so far; only the header was written
  sends 2 "$wine" "$ctl" $1
  window_commands="$window_commands $2"
  "$wine" "$build/tests/e2e/session_image.exe" memory.bin $window_commands
}
step "use Racing" "use 1"
step "delete Racing" "delete 1"  # the active one: Arena, the first entry left, follows
step "delete Puzzle" "delete 3"  # not the active profile
step "delete 0" "delete 0"       # the last one: none is active
