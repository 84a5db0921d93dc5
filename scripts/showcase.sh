#!/usr/bin/env bash
# Makes docs/screenshot-scan.png: a small junk tree scanned in the real window, sorted by size, a
# few rows checked.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"
KIND="${SHOWCASE_KIND:-$(default_kind)}"
build_native --target qorvani_bench >/dev/null
build_kind "$KIND" --target qorvani_wintests >/dev/null
trap 'end_wine; stop_xvfb' EXIT
start_xvfb
use_wine "$KIND"
use_trash showcase
# The tree lies where a user's junk would: in the prefix's own Temp folder (C:\users\NAME\Temp),
# made afresh from a fixed seed.
user="$(id -un)"
tree="$WINEPREFIX/drive_c/users/$user/Temp/Downloads"
rm -rf "$tree"
mkdir -p "$(dirname "$tree")"
"$BUILD/native/qorvani_bench" generate "$tree" --seed 7 --folders 12 --files 160 --matches 40 >/dev/null
QORVANI_SHOWCASE_ROOT="C:\\users\\$user\\Temp\\Downloads" \
  wine_run 120 "$WINE" "$(kind_build "$KIND")/qorvani_wintests.exe" --gtest_also_run_disabled_tests --gtest_filter='Showcase.*' >/dev/null &
pid=$!
win=$(wait_for_main_window)
sleep 4
screenshot_window "$win" "$ROOT/docs/screenshot-scan.png"
echo "$ROOT/docs/screenshot-scan.png"
wait "$pid" || true
rm -rf "$tree"
