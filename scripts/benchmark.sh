#!/bin/sh
# Prints the benchmark of a Windows build: the product's link loading, OK after a
# one-profile edit, a profile switch by vantorctl use and a full rewrite, through the
# adapter's driver, served by the emulated adapter under Wine; then once more with the
# pauses that Windows before 10 version 1803 makes (1 ms sleeps, no high-resolution timer).
#   scripts/benchmark.sh i686|x86_64   (the build must exist)
set -e
cd "$(dirname "$0")/.."
build=$(pwd)/build/$1
. scripts/wine-session.sh
if [ "$1" = i686 ]; then
  if ! reason=$(scripts/host-runs-32bit.sh); then
    echo "the i686 benchmark cannot run: $reason"
    exit 1
  fi
  wine=$root/scripts/wine
fi
. scripts/emulated-adapter.sh
trap 'adapter_stop >/dev/null; wine_session_end' EXIT

mkdir -p "$build/bench"
memory="$build/bench/adapter.bin"
rm -f "$memory"
adapter_start "$memory"
"$wine" "$build/bench/link_benchmark.exe" | tr -d '\r'
echo "with the pauses of Windows before 10 version 1803:"
"$wine" "$build/bench/link_benchmark.exe" --millisecond-sleep | tr -d '\r'
