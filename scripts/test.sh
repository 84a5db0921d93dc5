#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. the native unit tests (ctest);
#   2. the Windows tests under Wine, in a virtual display of their own, on each kind of Windows
#      that this machine can run: the 32-bit build on 32-bit Windows (a win32 prefix) and on
#      64-bit Windows under WoW64 (a win64 prefix), and the 64-bit build on 64-bit Windows;
#   3. the release archive (tests/release/check_release.sh, counted as one test);
#   4. a tiny smoke run of the benchmarks (counted as one test).
# Each kind of Windows runs in a Wine session of its own, ended before the next one starts,
# against fixture trees made for that run and with a Recycle Bin of its own, emptied first, so
# that no run depends on another or on an earlier test command. The last line printed is the
# outcome, "N passed, N failed" (", N skipped" when tests were skipped, as when a kind of Windows
# cannot run on this machine); the exit status is non-zero when anything failed. A failed set-up
# or fixture script stops the command at once, saying what failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"

passed=0
failed=0
skipped=0
notes=()
add() { passed=$((passed + $1)); failed=$((failed + $2)); skipped=$((skipped + ${3:-0})); }
stop() {
  echo "test.sh: stopped: $*" >&2
  exit 1
}

# --- native ---
log "native build"
if build_native; then
  log "native tests"
  native_log="$BUILD/native-tests.log"
  (cd "$BUILD/native" && ctest --output-on-failure -j "$JOBS") >"$native_log" 2>&1
  cat "$native_log"
  if counts=$(ctest_counts "$native_log"); then
    read -r p f s _ <<<"$counts"
    add "$p" "$f" "$s"
    [ "$s" = 0 ] || notes+=("native tests: $s skipped")
  else
    add 0 1; notes+=("native tests: ctest printed no summary")
  fi
else
  add 0 1; notes+=("native build failed")
fi

# --- Windows builds ---
kinds=()
if can_run_32bit; then kinds+=(win32 wow64); else
  notes+=("the 32-bit build's Windows tests (win32 and wow64) were skipped: $(why_no_32bit)")
fi
kinds+=(x64)

log "windows builds (32-bit and 64-bit)"
built32=0; built64=0
build_windows && built32=1 || { add 0 1; notes+=("32-bit Windows build failed"); }
build_windows64 && built64=1 || { add 0 1; notes+=("64-bit Windows build failed"); }

# run_windows_tests KIND: one Wine session of KIND's prefix, ended before returning, on fixture
# trees and a Recycle Bin of the run's own (the delete tests empty the one and fill the other).
list_count=""
run_windows_tests() {
  local kind="$1" dir counts p f s total status
  dir=$(kind_build "$kind")
  [ -f "$dir/qorvani_wintests.exe" ] || { add 0 1; notes+=("$kind: no test program"); return; }
  local run="$BUILD/test-runs/$kind"
  log "fixture trees for the $kind run ($run/fixtures)"
  bash "$ROOT/tests/windows/make_fixtures.sh" "$run/fixtures" >&2 ||
    stop "the fixture script tests/windows/make_fixtures.sh failed (exit $?) for the $kind run"
  use_trash "test-$kind" --empty
  use_wine "$kind"
  link_test_drive "$run/fixtures/drive-q"
  # Trees that a run which crashed left in the prefix's Temp folder would stand beside this run's.
  rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/qvt* "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/qvt*
  log "windows tests on $kind ($WINEPREFIX, Recycle Bin $(trash_files))"
  local logfile="$BUILD/wintests-$kind.log"
  # The test command made the fixtures: a test that finds them missing fails instead of skipping.
  (cd "$dir" && export QORVANI_FIXTURES="$run/fixtures" QORVANI_FIXTURES_REQUIRED=1 &&
     wine_run 1800 "$WINE" ./qorvani_wintests.exe ${WINTEST_ARGS:-}) 2>&1 | tr -d '\r' | tee "$logfile"
  status=${PIPESTATUS[0]}
  end_wine
  unlink_test_drive
  if ! counts=$(gtest_counts "$logfile"); then
    add 0 1; notes+=("$kind: the test program ended without a summary (exit $status)")
    return
  fi
  read -r p f s total <<<"$counts"
  [ "$kind" = x64 ] && list_count="$total"
  add "$p" "$f" "$s"
  [ "$f" = 0 ] || notes+=("$kind: $f Windows tests failed")
  [ "$s" = 0 ] || notes+=("$kind: $s Windows tests skipped")
  if [ "$f" = 0 ] && [ "$status" != 0 ]; then
    add 0 1; notes+=("$kind: no test failed but the program exited with $status")
  fi
}

trap 'end_wine; stop_xvfb' EXIT
start_xvfb || stop "no virtual display (Xvfb) could be started"
for kind in "${kinds[@]}"; do
  if [ "$kind" = x64 ] && [ "$built64" = 0 ]; then continue; fi
  if [ "$kind" != x64 ] && [ "$built32" = 0 ]; then continue; fi
  run_windows_tests "$kind"
done
stop_xvfb
trap - EXIT
# The kinds this machine cannot run: as many tests each as the x64 run had, counted as skipped.
if ! can_run_32bit && [ -n "$list_count" ]; then skipped=$((skipped + 2 * list_count)); fi

# --- the release archive: its own builds, checks and Wine sessions, counted as one test ---
log "release archive (tests/release/check_release.sh)"
bash "$ROOT/tests/release/check_release.sh" 2>&1 | tee "$BUILD/release-check.log"
rel=$(tail -n 1 "$BUILD/release-check.log")
if [[ "$rel" =~ ^release:\ [0-9]+\ passed,\ 0\ failed ]]; then add 1 0; else add 0 1; notes+=("release archive: $rel (FAIL lines in build/release-check.log)"); fi
[[ "$rel" =~ ([1-9][0-9]*)\ skipped$ ]] && notes+=("release archive: ${BASH_REMATCH[1]} checks skipped (SKIP lines in build/release-check.log)")

# --- benchmarks, tiny sizes (their own session, after ours has ended) ---
if [ -x "$BUILD/native/qorvani_bench" ] && [ "${QORVANI_SKIP_BENCH_SMOKE:-0}" != 1 ]; then
  log "benchmark smoke run (tiny sizes)"
  if bash "$ROOT/scripts/bench.sh" --smoke; then add 1 0; else add 0 1; notes+=("benchmark smoke run failed"); fi
fi

echo
for n in "${notes[@]}"; do echo "note: $n"; done
if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
