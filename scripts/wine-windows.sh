# Sourced after wine-session.sh: finds the program's windows from the Windows side (inside
# a Wine desktop they are no X windows of their own) and clicks them with real X input.
# Needs $build (a Windows build folder, with tests/e2e/control_centre.exe), $wine (its
# loader) and $title. Waits for a window last VANTOR_WAIT_SCALE times as long (under
# emulation, where the program runs at a fraction of a processor's speed).
waits=$((60 * ${VANTOR_WAIT_SCALE:-1}))

# centre TITLE CONTROL-ID [ROW]: the screen position of a control's (or list row's) centre.
# Fails when there is no such window.
centre() {
  position=$("$wine" "$build/tests/e2e/control_centre.exe" "$@") || return 1
  printf '%s\n' "$position" | tr -d '\r'
}

# wait_for TITLE CONTROL-ID: until the window with that control is open.
wait_for() {
  for _ in $(seq $waits); do centre "$1" "$2" >/dev/null 2>&1 && return 0; sleep 0.3; done
  echo "window '$1' did not appear"
  exit 1
}

# wait_closed TITLE CONTROL-ID: until that window is gone.
wait_closed() {
  for _ in $(seq $waits); do centre "$1" "$2" >/dev/null 2>&1 || return 0; sleep 0.3; done
  echo "window '$1' did not close"
  exit 1
}

# click CONTROL-ID [ROW]: a left click on a control of the main window.
click() {
  set -- $(centre "$title" "$@")
  xdotool mousemove --sync "$1" "$2" click 1
  sleep 0.3
}
