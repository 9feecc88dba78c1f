# Sourced by the sessions of a person with the product, from the top of the repository,
# with $build (a Windows build folder) and $loader (its Wine loader) set: a Wine session
# on a virtual display, the emulated adapter and the helpers that find and click the
# product's windows.
VANTOR_VIRTUAL_DISPLAY=1
VANTOR_WINE_DESKTOP=1024x768
. scripts/wine-session.sh
wine=$loader
. scripts/emulated-adapter.sh
title="Vantor Config v1.0"
. scripts/wine-windows.sh

ctl() { "$wine" "$build/vantorctl/vantorctl.exe" "$@"; }

# start_product FOLDER [ADAPTER OPTIONS]: FOLDER made anew, the emulated adapter with its
# memory there ($memory, and its first state as before.bin), and the product beside it
# ($product); both end with the session. The adapter allows one open handle, as some
# drivers do: the window must not hold it while vantorctl.exe works.
start_product() {
  folder=$1
  shift
  rm -rf "$folder"
  mkdir -p "$folder"
  memory="$folder/memory.bin"
  adapter_start "$memory" --one-open-handle "$@"
  cp "$memory" "$folder/before.bin"
  "$wine" "$build/app/vantor-config.exe" >/dev/null 2>&1 &
  product=$!
  trap 'kill $product 2>/dev/null || true; adapter_stop; wine_session_end' EXIT
}
