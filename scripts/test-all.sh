#!/bin/sh
# Builds the three builds and runs every test: the native ones, then the Windows ones of
# both builds on a virtual display, the i686 ones under 32-bit Wine and the x86_64 ones
# under wine64, and prints the benchmark of both. Installs what it needs first.
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
for preset in i686 x86_64; do
  echo "Windows tests, $preset build:"
  ctest --test-dir "build/$preset" --output-on-failure
done

for preset in i686 x86_64; do
  echo "benchmark, $preset build (the product's link through the driver to the emulated adapter):"
  scripts/benchmark.sh "$preset"
done
