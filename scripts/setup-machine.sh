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

# qemu-user runs the i686 build where the host runs no 32-bit code. Before version 8 it
# takes a minute to start a 32-bit Wine program (a second from 8 on) and breaks the thread
# that Wine starts for a window's device notifications; Debian 12 has a later one in its
# backports, whose packages are taken only when asked for by name.
emulator_major() {
  /usr/bin/qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'
}
install_emulator() {
  [ "$(emulator_major)" -ge 8 ] 2>/dev/null && return 0
  release=""
  if [ "$(. /etc/os-release && echo "$VERSION_CODENAME")" = bookworm ]; then
    printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" "Suites: bookworm-backports" \
      "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
      $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
    release="-t bookworm-backports"
  fi
  echo "installing: qemu-user"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $release qemu-user >/dev/null
}
case "$("$(dirname "$0")/i686-path.sh")" in
  emulated*) install_emulator ;;
esac
