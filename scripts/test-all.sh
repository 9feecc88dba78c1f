#!/bin/sh
# Builds the three builds and runs every test: the native ones, then the Windows ones
# under wine64 on a virtual display. Installs what it needs first.
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
for preset in native i686 x86_64; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset"
done
ctest --test-dir build/native --output-on-failure -j2

# Inside one Wine desktop the windows are not X windows of their own, which makes them
# quick to open. The window tests run one at a time: they share that desktop's focus.
VANTOR_VIRTUAL_DISPLAY=1
VANTOR_WINE_DESKTOP=1024x768
. scripts/wine-session.sh
trap wine_session_end EXIT
ctest --test-dir build/x86_64 --output-on-failure

echo "benchmark (emulated adapter, real pauses):"
build/native/bench/link_benchmark
