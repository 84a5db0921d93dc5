# Shared by the run and test scripts: builds, Xvfb and Wine helpers. Source it, don't run it.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QORVANI_BUILD:-$ROOT/build}"
JOBS="${JOBS:-$(nproc)}"

log() { printf '== %s\n' "$*" >&2; }

build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}

build_windows() {
  cmake -S "$ROOT" -B "$BUILD/windows" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$BUILD/windows" -j "$JOBS" "$@"
}

# Starts a private Xvfb on a free display number and exports DISPLAY; stop_xvfb ends it.
XVFB_PID=""
start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}
stop_xvfb() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
}

# A Wine prefix of our own under the build folder, with the crash dialog off.
setup_wine() {
  export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  if [ ! -f "$WINEPREFIX/.qorvani-ready" ]; then
    mkdir -p "$WINEPREFIX"
    timeout 180 wineboot -i >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # No window manager runs in the virtual display: Wine draws the frames itself.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.qorvani-ready"
  fi
}
stop_wine() { [ -n "${WINEPREFIX:-}" ] && timeout 30 wineserver -k 2>/dev/null || true; }

# Waits (up to 30 s) for the main window in the virtual display and prints its X window id.
wait_for_main_window() {
  local win=""
  for _ in $(seq 150); do
    win=$(xwininfo -root -tree 2>/dev/null | awk '/"Qorvani  /{print $1; exit}')
    [ -n "$win" ] && break
    sleep 0.2
  done
  printf '%s' "$win"
}

# Saves a PNG of the X window given (the whole screen when none is given).
screenshot_window() {
  import -window "${1:-root}" "$2" 2>/dev/null || import -window root "$2"
}
