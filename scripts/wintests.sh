#!/usr/bin/env bash
# A developer's quick run of one kind's Windows tests, set up as the test command sets them up
# (fixtures, Recycle Bin, Wine session, virtual display), without the native tests, the other
# kinds, the release check or the benchmarks:
#   bash scripts/wintests.sh [KIND] [GTEST_FILTER]     (KIND: win32, wow64 or x64; x64 by default)
# Builds the kind's programs first. Prints the test program's output; exits with its status.
set -uo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"
kind="${1:-x64}"
filter="${2:-*}"
[ -n "${KIND_ARCH[$kind]:-}" ] || { echo "wintests.sh: unknown kind $kind" >&2; exit 2; }
if kind_is_32bit "$kind" && ! can_run_32bit; then echo "wintests.sh: $kind cannot run here: $(why_no_32bit)" >&2; exit 2; fi
build_kind "$kind" >/dev/null || { echo "wintests.sh: the $kind build failed" >&2; exit 1; }
run="$BUILD/test-runs/$kind"
bash "$ROOT/tests/windows/make_fixtures.sh" "$run/fixtures" >&2 || exit 1
trap 'end_wine; unlink_test_drive; stop_xvfb' EXIT
start_xvfb || exit 1
use_trash "test-$kind" --empty
use_wine "$kind"
link_test_drive "$run/fixtures/drive-q"
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/qvt* "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/qvt*
(cd "$(kind_build "$kind")" && export QORVANI_FIXTURES="$run/fixtures" QORVANI_FIXTURES_REQUIRED=1 &&
   wine_run 1800 "$WINE" ./qorvani_wintests.exe "--gtest_filter=$filter") 2>&1 | tr -d '\r'
exit "${PIPESTATUS[0]}"
