#!/bin/sh
# Installs what the builds and tests need on a Debian machine (skipped when present).
set -e
packages="cmake ninja-build g++ googletest libgtest-dev nlohmann-json3-dev mingw-w64 wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei locales"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
