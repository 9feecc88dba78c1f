#!/bin/sh
# vantorctl through the adapter's driver interface, served by the emulated adapter: dump
# lists its profiles, backup copies its memory byte for byte, and restore makes its
# memory another image byte for byte.
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
adapter_start "$memory"
ctl="$build/vantorctl/vantorctl.exe"
cd "$folder"  # file names as a Windows user gives them: relative to the current folder

"$wine" "$ctl" dump >dump.txt
for name in Shooter Racing Flight; do
  grep -q "\"$name\"" dump.txt || { echo "dump does not list $name:"; cat dump.txt; exit 1; }
done
"$wine" "$ctl" backup backup.bin
cmp backup.bin memory.bin
"$wine" "$build/tests/e2e/session_image.exe" --write wanted.bin
"$wine" "$ctl" restore wanted.bin
cmp memory.bin wanted.bin
