# Sourced after wine-session.sh: starts and controls the emulated adapter behind the
# driver's interface (emulator/emulated-adapter.exe of $build, run by $wine), which the
# unchanged programs of the same Wine prefix find as a plugged-in adapter.

# product_build TARGET...: builds the targets of the product's own build, i686, where
# 32-bit Windows programs run, else of the x86_64 build; sets $build and $wine.
product_build() {
  if "$root/scripts/host-runs-32bit.sh" >/dev/null; then
    build_targets i686 "$@"
    wine=$root/scripts/wine
  else
    build_targets x86_64 "$@"
    wine=$root/scripts/wine64
  fi
}
build_targets() {
  cmake --preset "$1" >/dev/null
  build=$(pwd)/build/$1
  shift
  cmake --build "$build" --target "$@" >/dev/null
}

# adapter_start MEMORY-FILE [SERVER OPTIONS]: returns once the adapter can be found. The
# server runs detached from the caller's session and output (MEMORY-FILE.log), and ends by
# itself after 10 minutes without a client.
adapter_start() {
  adapter_memory=$1
  shift
  rm -f "$adapter_memory.ready"
  setsid "$wine" "$build/emulator/emulated-adapter.exe" "$adapter_memory" --ready "$adapter_memory.ready" \
    --idle-exit 600 "$@" </dev/null >>"$adapter_memory.log" 2>&1 &
  adapter_pid=$!
  for _ in $(seq 300); do
    [ -f "$adapter_memory.ready" ] && return 0
    kill -0 "$adapter_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the emulated adapter did not start:"
  cat "$adapter_memory.log"
  return 1
}

# adapter_control --unplug | --plug | --stop: returns once the server has done it.
adapter_control() {
  "$wine" "$build/emulator/emulated-adapter.exe" "$1"
}

# adapter_stop: for an exit trap; a server that does not stop is reported, not fatal here
# (the next start would fail on it).
adapter_stop() {
  adapter_control --stop || echo "the emulated adapter did not stop"
}
