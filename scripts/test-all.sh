#!/bin/sh
# Builds the three builds and runs every test: the native ones, then the Windows ones of
# both builds on a virtual display, the i686 ones under 32-bit Wine and the x86_64 ones
# under wine64, and prints the benchmark of both. Installs what it needs first.
# How the i686 build's programs run, scripts/i686-path.sh decides: natively; on a host that
# runs no 32-bit code, under emulation while its tests run (scripts/emulate-32bit.sh), all
# of them as natively, without the benchmark (an emulator's figures say nothing of the
# product's); or not at all, when the i686 build is still built and its checks that run
# nothing 32-bit (the release zip) still run. The last line says which.
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
export VANTOR_VIRTUAL_DISPLAY=1 VANTOR_WINE_DESKTOP=1024x768
windows_tests='. scripts/wine-session.sh
trap wine_session_end EXIT
for preset; do
  echo "Windows tests, $preset build:"
  ctest --test-dir "build/$preset" --output-on-failure
done'
i686_path=$(scripts/i686-path.sh)
case "$i686_path" in
  emulated*)
    started=$(date +%s)
    scripts/emulate-32bit.sh sh -ec "$windows_tests" sh i686
    minutes=$((($(date +%s) - started + 30) / 60))
    sh -ec "$windows_tests" sh x86_64 ;;
  *) sh -ec "$windows_tests" sh i686 x86_64 ;;
esac

# The product's session once more under a French keyboard layout, in a session of its own:
# Wine takes the layout over when it starts on the display. Keys go by position, so the
# adapter must end with the same bytes. The build is the shipped one where it runs natively.
layout_build="x86_64 $(pwd)/scripts/wine64"
[ "$i686_path" = native ] && layout_build="i686 $(pwd)/scripts/wine"
set -- $layout_build
echo "The product's session under a French keyboard layout, $1 build:"
VANTOR_KEYBOARD_LAYOUT=fr sh tests/e2e/product_session.sh "build/$1" "$2"

benchmarks=x86_64
case "$i686_path" in
  native)
    benchmarks="i686 x86_64"
    summary="Windows tests ran natively for both builds, i686 and x86_64." ;;
  emulated*)
    summary="Windows tests ran natively for the x86_64 build and under emulation for the i686 build (${i686_path#emulated: }), all of them, in $minutes min; the i686 benchmark was skipped." ;;
  *)
    summary="Windows tests ran for the x86_64 build only; the i686 run-time tests and benchmark were skipped: ${i686_path#none: } (the i686 build was built and its release zip checked)." ;;
esac

for preset in $benchmarks; do
  echo "benchmark, $preset build (the product's link through the driver to the emulated adapter):"
  scripts/benchmark.sh "$preset"
done
echo "$summary"
