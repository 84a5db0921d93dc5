#!/usr/bin/env bash
# Builds the program and starts it under Wine: the 32-bit qorvani.exe, or the 64-bit
# qorvani64.exe where this machine runs no 32-bit programs (RUN_KIND=win32|wow64|x64 chooses).
# With a display ($DISPLAY) it simply runs; without one it starts a virtual display, saves a
# screenshot of the window, prints its path, closes the program and exits.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"
KIND="${RUN_KIND:-$(default_kind)}"
[ "$KIND" = "$(default_kind)" ] || can_run_32bit || { echo "run.sh: $KIND cannot run here: $(why_no_32bit)" >&2; exit 1; }
build_kind "$KIND" --target qorvani
EXE="$(kind_build "$KIND")/$(kind_exe "$KIND")"
can_run_32bit || log "$(why_no_32bit): starting the 64-bit build"

if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--screenshot" ]; then
  use_wine "$KIND"
  use_trash run  # what the program sends to the Recycle Bin stays there, in the build folder
  exec env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 XDG_DATA_HOME="$WINE_DATA_HOME" "$WINE" "$EXE"
fi

trap 'end_wine; stop_xvfb' EXIT
start_xvfb
use_wine "$KIND"
use_trash run
wine_run 600 "$WINE" "$EXE" &
pid=$!
# Wait until the main window exists, then give it a moment to paint.
win=$(wait_for_main_window)
sleep 2
shot="${SCREENSHOT:-$BUILD/qorvani-screenshot.png}"
screenshot_window "$win" "$shot"
echo "$shot"
end_wine
wait "$pid" 2>/dev/null || true
