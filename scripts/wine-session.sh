# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own on
# a virtual display (or the caller's DISPLAY), in the locale of VANTOR_LOCALE (Chinese,
# zh_CN.UTF-8, unless set: scripts/wine-locale.sh), with fonts that show Chinese texts.
# Defines wine_session_end.
root=$(pwd)  # callers run from the top of the repository
wine=$root/scripts/wine64
setarch "$(uname -m)" --addr-no-randomize true 2>/dev/null ||
  echo "wine-session: this host refuses a fixed address layout (setarch): a 64-bit Windows program may die as it starts, once in some 10,000 starts" >&2

# A program started inside a running session (a test that the test run starts) joins it:
# same display, prefix and desktop, and ending is left to the session's owner. It keeps
# the session's locale unless it sets VANTOR_LOCALE.
if [ -n "${VANTOR_WINE_SESSION:-}" ]; then
  if [ -n "${VANTOR_LOCALE:-}" ]; then . "$root/scripts/wine-locale.sh"; fi
  wine_session_end() { :; }
  return 0
fi
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
# Wine's error messages stay on: they go with the output of the program that had them.
export WINEDEBUG=-all,err+all WINEDLLOVERRIDES="mscoree,mshtml="

. "$root/scripts/wine-locale.sh"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ] || [ "${VANTOR_VIRTUAL_DISPLAY:-}" = 1 ]; then
  exec 3>"$root/build/xvfb.display.$$"
  # A screen as large as the Wine desktop, which may be larger than the usual one. The
  # server keeps its settings (the keyboard layout) when its last client leaves.
  Xvfb -displayfd 3 -screen 0 "${VANTOR_WINE_DESKTOP:-1024x768}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$root/build/xvfb.display.$$" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$root/build/xvfb.display.$$")"
  rm -f "$root/build/xvfb.display.$$"
  # VANTOR_KEYBOARD_LAYOUT (an X layout: fr, de, ...) is the virtual keyboard's layout,
  # which Wine takes over when it starts on the display.
  [ -z "${VANTOR_KEYBOARD_LAYOUT:-}" ] || setxkbmap -display "$DISPLAY" "$VANTOR_KEYBOARD_LAYOUT"
fi

# A prefix made before 32-bit Wine was installed, or while 32-bit programs could not run
# (before their emulation was set up), has no 32-bit half and cannot run the i686 build:
# make it anew (under emulation that takes about half a minute; where 32-bit programs cannot
# run at all, a prefix never gets its 32-bit half).
if [ -f "$WINEPREFIX/.vantor-ready" ] && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
   "$root/scripts/host-runs-32bit.sh" >/dev/null; then
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/.vantor-ready" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
  for name in SimSun "宋体" "MS Shell Dlg" "MS Sans Serif"; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  touch "$WINEPREFIX/.vantor-ready"
fi
# A program that crashes prints its backtrace and ends, instead of waiting for someone to
# close Wine's crash dialog.
if ! grep -qs '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
# With VANTOR_WINE_DESKTOP=WIDTHxHEIGHT every window opens inside one Wine desktop that
# draws captions and frames, as a person sees them where no window manager runs.
if [ -n "${VANTOR_WINE_DESKTOP:-}" ]; then
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$VANTOR_WINE_DESKTOP" /f >/dev/null 2>&1
elif grep -qs '^"Desktop"=' "$WINEPREFIX/user.reg"; then
  "$wine" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
fi

# One Wine server for the whole session, ended by wine_session_end. A server that a program
# starts shuts down once no program has run for 3 s, and a program that starts during that
# shutdown dies at once ("recvmsg: Connection reset by peer"). The settings above take
# effect in the next server: the one that made them ends first. A server that a killed
# session left behind would never end by itself: it is ended here.
session_owner="$WINEPREFIX/.vantor-session"
if [ -f "$session_owner" ] && ! kill -0 "$(cat "$session_owner")" 2>/dev/null; then
  /usr/lib/wine/wineserver -k 2>/dev/null || true
fi
/usr/lib/wine/wineserver -w
/usr/lib/wine/wineserver -p
echo $$ >"$session_owner"
# Interrupted, a session ends as a finished one does: its owner's exit trap ends it.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
export VANTOR_WINE_SESSION=1
# Wine's helpers start detached, so that they do not hold a test's output open.
"$wine" wineboot </dev/null >/dev/null 2>&1
# Wine closes a desktop one second after the last program that used it ended, and a program
# that starts meanwhile may join the desktop being closed: its windows go with it, or it
# dies while it starts. Windows keeps a desktop for the whole session: here a program that
# waits for ever uses it from the session's start (the server ends it with the session).
keeper_input="$WINEPREFIX/.vantor-desktop-keeper"
rm -f "$keeper_input"
mkfifo "$keeper_input"
"$wine" cmd /c pause <>"$keeper_input" >/dev/null 2>&1 &

wine_session_end() {
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -f "$session_owner" "$keeper_input"
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
