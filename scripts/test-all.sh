#!/bin/sh
# Builds the three builds and runs every test: the native ones, then the Windows ones of
# both builds on a virtual display, the i686 ones under 32-bit Wine and the x86_64 ones
# under wine64, and prints the benchmark of both. Installs what it needs first.
# On a host that runs no 32-bit code (scripts/host-runs-32bit.sh decides) the i686 build is
# still built and its checks that run nothing 32-bit (the release zip) still run; its
# run-time tests and benchmark are skipped, and the last line says so.
set -e
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
for preset in native i686 x86_64; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset"
done
ctest --test-dir build/native --output-on-failure -j2

if no_32bit_reason=$(scripts/host-runs-32bit.sh); then
  run_builds="i686 x86_64"
  summary="Windows tests ran for both builds, i686 and x86_64."
else
  run_builds="x86_64"
  summary="Windows tests ran for the x86_64 build only; the i686 run-time tests and benchmark were skipped: $no_32bit_reason (the i686 build was built and its release zip checked)."
fi

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

for preset in $run_builds; do
  echo "benchmark, $preset build (the product's link through the driver to the emulated adapter):"
  scripts/benchmark.sh "$preset"
done
echo "$summary"
