#!/usr/bin/env bash
# Makes docs/screenshot-scan.png: a small junk tree scanned in the real window, a few rows checked.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"
KIND="${SHOWCASE_KIND:-$(default_kind)}"
build_native --target qorvani_bench >/dev/null
build_kind "$KIND" --target qorvani_wintests >/dev/null
tree="$BUILD/showcase/Downloads"
if [ ! -d "$tree" ]; then
  mkdir -p "$BUILD/showcase"
  "$BUILD/native/qorvani_bench" generate "$tree" --seed 7 --folders 12 --files 160 --matches 40 >/dev/null
fi
trap 'end_wine; stop_xvfb' EXIT
start_xvfb
use_wine "$KIND"
use_trash showcase
QORVANI_SHOWCASE_ROOT="Z:$(printf '%s' "$tree" | tr / '\\')" \
  wine_run 120 "$WINE" "$(kind_build "$KIND")/qorvani_wintests.exe" --gtest_also_run_disabled_tests --gtest_filter='Showcase.*' >/dev/null &
pid=$!
win=$(wait_for_main_window)
sleep 4
screenshot_window "$win" "$ROOT/docs/screenshot-scan.png"
echo "$ROOT/docs/screenshot-scan.png"
wait "$pid" || true
