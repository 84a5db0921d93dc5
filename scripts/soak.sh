#!/usr/bin/env bash
# The long robustness run: the mask matcher fuzzed with millions of pairs, then the robustness
# suite under Wine with many more closing points, storm rounds and stop bursts, repeated on
# fresh copies of the fixture trees. Prints each run's summary line; exits non-zero on a failure.
#   SOAK_ROUNDS=N  how many times the Windows suite runs (default 3), each on its own copies
#   QORVANI_FUZZ_PAIRS=N / QORVANI_FUZZ_SEED=S  override the fuzzing
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"
KIND="${SOAK_KIND:-$(default_kind)}"
ROUNDS="${SOAK_ROUNDS:-3}"
export QORVANI_SOAK=1

log "native build"
build_native
log "mask matcher fuzzing (soak)"
"$BUILD/native/qorvani_tests" --gtest_filter='MaskFuzz*'

log "windows build ($KIND)"
build_kind "$KIND"
# Trees and a Recycle Bin of the soak's own, made anew (the test command's runs keep theirs).
QORVANI_FIXTURE_COPIES="$ROUNDS" bash "$ROOT/tests/windows/make_fixtures.sh" "$BUILD/soak/fixtures" >&2 ||
  { echo "soak.sh: stopped: the fixture script tests/windows/make_fixtures.sh failed" >&2; exit 1; }
export QORVANI_FIXTURES="$BUILD/soak/fixtures" QORVANI_FIXTURES_REQUIRED=1
trap 'end_wine; stop_xvfb' EXIT
start_xvfb
use_wine "$KIND"
use_trash soak --empty
status=0
for round in $(seq "$ROUNDS"); do
  log "robustness suite under wine, round $round of $ROUNDS"
  (cd "$(kind_build "$KIND")" && QORVANI_FIXTURE_COPY="$round" wine_run 3000 "$WINE" ./qorvani_wintests.exe \
      --gtest_filter='Robust*') || status=$?
  if [ "$status" -ne 0 ]; then echo "soak round $round failed ($status)" >&2; exit "$status"; fi
done
log "soak passed"
