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

VANTOR_VIRTUAL_DISPLAY=1
. scripts/wine-session.sh
trap wine_session_end EXIT
ctest --test-dir build/x86_64 --output-on-failure -j4

echo "benchmark (emulated adapter, real pauses):"
build/native/bench/link_benchmark
