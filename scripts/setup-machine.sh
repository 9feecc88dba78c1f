#!/bin/sh
# Installs what the builds and tests need on a Debian machine (skipped when present).
set -e
# wine32:i386 runs the i686 build (the product's target); wine64 runs the x86_64 one.
packages="cmake ninja-build g++ googletest libgtest-dev nlohmann-json3-dev libcli11-dev mingw-w64 wine64 wine32:i386 xvfb xauth xdotool imagemagick fonts-wqy-microhei locales"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# install PACKAGE...: those not installed yet.
install() {
  missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "installing:$missing"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}
install $packages
# qemu-user-static runs the i686 build where the host runs no 32-bit code.
case "$("$(dirname "$0")/i686-path.sh")" in
  emulated*) install qemu-user-static ;;
esac
