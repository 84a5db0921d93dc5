#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (ctest) and the Windows tests
# under Wine in a virtual display of their own. Exits non-zero when any test fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"

log "native build"
build_native
log "native tests"
(cd "$BUILD/native" && ctest --output-on-failure -j "$JOBS")

log "windows build"
build_windows
bash "$ROOT/tests/windows/make_fixtures.sh" "$BUILD/fixtures" >&2; export QORVANI_FIXTURES="$BUILD/fixtures"
log "windows tests under wine"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
setup_wine
status=0
(cd "$BUILD/windows" && timeout 1500 wine ./qorvani_wintests.exe ${WINTEST_ARGS:-}) || status=$?
if [ "$status" -ne 0 ]; then echo "windows tests failed ($status)" >&2; exit "$status"; fi

if [ -x "$BUILD/native/qorvani_bench" ] && [ "${QORVANI_SKIP_BENCH_SMOKE:-0}" != 1 ]; then
  log "benchmark smoke run (tiny sizes)"
  bash "$ROOT/scripts/bench.sh" --smoke
fi
log "all tests passed"
