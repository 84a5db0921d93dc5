#!/usr/bin/env bash
# Builds qorvani.exe and starts it under Wine. With a display ($DISPLAY) it simply runs; without
# one it starts a virtual display, saves a screenshot of the window, prints its path, closes the
# program and exits.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"
build_windows --target qorvani
EXE="$BUILD/windows/qorvani.exe"

if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--screenshot" ]; then
  setup_wine
  exec wine "$EXE"
fi

trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
setup_wine
wine "$EXE" &
pid=$!
# Wait until the main window exists, then give it a moment to paint.
win=$(wait_for_main_window)
sleep 2
shot="${SCREENSHOT:-$BUILD/qorvani-screenshot.png}"
screenshot_window "$win" "$shot"
echo "$shot"
timeout 20 wineserver -k || true
wait "$pid" 2>/dev/null || true
