# The virtual display (Xvfb) the Windows programs run in, and what is read from it.
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
