#!/bin/sh
# Runs a Windows program under Wine at a system DPI of its own, then sets the prefix's back.
# Wine takes the DPI from the prefix's desktop settings when a program starts, so nothing
# else may start in the prefix meanwhile: CTest runs this alone. The program finds the DPI
# it must have in VANTOR_TEST_DPI.
#   at_dpi.sh LOADER DPI PROGRAM [ARGS...]
set -e
loader=$1
dpi=$2
shift 2
run="$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run.sh"
key='HKCU\Control Panel\Desktop'
reg() { sh "$run" "$loader" reg "$@" >/dev/null 2>&1; }

before=$(sh "$run" "$loader" reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' |
         awk '$1 == "LogPixels" { print $3 }')
restore() {
  if [ -n "$before" ]; then reg add "$key" /v LogPixels /t REG_DWORD /d $((before)) /f
  else reg delete "$key" /v LogPixels /f || true
  fi
}
trap restore EXIT
reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f
VANTOR_TEST_DPI=$dpi sh "$run" "$loader" "$@"
