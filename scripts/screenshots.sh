#!/bin/sh
# Renders what a person sees to PNG files: the product's main window on the emulated
# adapter's sample profiles, the game name dialog (opened with Add), the About box (from
# the system menu), the list's right-click menu, a profile with a key used twice (its
# two key boxes marked) and the list's menu after that edit (its Undo item, the changed
# profile's mark and the line that counts OK's writes), at 96, 144 and 192 DPI (100, 150
# and 200 % display scale), in English (OUT-DIR/en_US) and in Chinese (OUT-DIR/zh_CN):
# main-window.png at 96 DPI, main-window-144dpi.png and main-window-192dpi.png, and so on.
#   scripts/screenshots.sh [OUT-DIR]   (default build/screenshots)
set -e
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
scripts/setup-machine.sh

# shots LOCALE DPI SUFFIX: the three windows in a Wine session of their own, in the
# language of LOCALE, on a desktop of 760 x 520 pixels at 96 DPI that grows with the
# scale. The prefix's DPI (its desktop settings' LogPixels, read when a program starts)
# is set back afterwards.
shots() (
  VANTOR_LOCALE=$1
  dpi=$2
  suffix=$3
  shown="$out/${VANTOR_LOCALE%%.*}"
  mkdir -p "$shown"
  width=$((760 * dpi / 96))
  height=$((520 * dpi / 96))
  VANTOR_VIRTUAL_DISPLAY=1
  VANTOR_WINE_DESKTOP=${width}x$height
  . scripts/wine-session.sh
  . scripts/emulated-adapter.sh
  product_build vantor-config emulated-adapter control_centre
  key='HKCU\Control Panel\Desktop'
  logpixels() { "$wine" reg "$@" >/dev/null 2>&1; }
  trap 'adapter_stop; logpixels delete "$key" /v LogPixels /f; wine_session_end' EXIT
  logpixels add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f

  memory=build/screenshots-adapter.bin
  rm -f "$memory"
  adapter_start "$memory"
  title="Vantor Config v1.0"
  "$wine" "$build/app/vantor-config.exe" >/dev/null 2>&1 &
  . scripts/wine-windows.sh
  shot() { sleep 1; import -window root -crop "${width}x$height+0+0" +repage "$shown/$1$suffix.png"; echo "$shown/$1$suffix.png"; }

  wait_for "$title" 1000
  shot main-window
  click 1013
  wait_for Dialog 1011
  shot game-name-dialog
  xdotool key Escape
  sleep 0.5
  click 1000 0
  xdotool key alt+space
  sleep 0.5
  xdotool key Up Return
  case $VANTOR_LOCALE in zh_CN*) about="关于 Brenvo" ;; *) about="About Brenvo" ;; esac
  wait_for "$about" 1
  shot about-box
  xdotool key Return
  sleep 0.5
  set -- $(centre "$title" 1000 1)
  xdotool mousemove --sync "$1" "$2" click 1 click 3
  shot list-menu
  xdotool key Escape
  click 1105            # Racing's B box; Z, L1's key, goes in there too
  xdotool key z
  shot repeated-key
  click 1000 0          # Shooter: Racing, changed, keeps its mark
  set -- $(centre "$title" 1000 2)  # the menu opens below Racing's mark
  xdotool mousemove --sync "$1" "$2" click 3
  shot undo-menu
  xdotool key Escape
)

for locale in en_US.UTF-8 zh_CN.UTF-8; do
  shots $locale 96 ""
  shots $locale 144 -144dpi
  shots $locale 192 -192dpi
done
