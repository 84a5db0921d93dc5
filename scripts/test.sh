#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. the native unit tests (ctest);
#   2. the Windows tests under Wine, in a virtual display of their own, on each kind of Windows
#      that this machine can run: the 32-bit build on 32-bit Windows (a win32 prefix) and on
#      64-bit Windows under WoW64 (a win64 prefix), and the 64-bit build on 64-bit Windows;
#   3. the release archive (tests/release/check_release.sh, counted as one test);
#   4. a tiny smoke run of the benchmarks (counted as one test).
# Each Wine session is ended before the next one starts. The last line printed is the outcome,
# "N passed, N failed" (", N skipped" when a kind of Windows cannot run on this machine); the
# exit status is non-zero when anything failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"

passed=0
failed=0
skipped=0
notes=()
add() { passed=$((passed + $1)); failed=$((failed + $2)); }

# --- native ---
log "native build"
if build_native; then
  log "native tests"
  out=$(cd "$BUILD/native" && ctest --output-on-failure -j "$JOBS" 2>&1)
  printf '%s\n' "$out"
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' <<<"$out" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    add $((total - bad)) "$bad"
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

bash "$ROOT/tests/windows/make_fixtures.sh" "$BUILD/fixtures" >&2
export QORVANI_FIXTURES="$BUILD/fixtures"

# run_windows_tests KIND: one Wine session of KIND's prefix, ended before returning.
list_count=""
run_windows_tests() {
  local kind="$1" dir out status total bad
  dir=$(kind_build "$kind")
  [ -f "$dir/qorvani_wintests.exe" ] || { add 0 1; notes+=("$kind: no test program"); return; }
  use_wine "$kind"
  log "windows tests on $kind ($WINEPREFIX)"
  local logfile="$BUILD/wintests-$kind.log"
  (cd "$dir" && wine_run 1800 "$WINE" ./qorvani_wintests.exe ${WINTEST_ARGS:-}) 2>&1 | tr -d '\r' | tee "$logfile"
  status=${PIPESTATUS[0]}
  end_wine
  out=$(cat "$logfile")
  total=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' <<<"$out" | tail -n 1)
  bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:.*/\1/p' <<<"$out" | tail -n 1)
  if [ -z "$total" ]; then
    add 0 1; notes+=("$kind: the test program ended without a summary (exit $status)")
    return
  fi
  bad=${bad:-0}
  [ "$kind" = x64 ] && list_count="$total"
  if [ "$bad" = 0 ] && [ "$status" != 0 ]; then
    add "$total" 1; notes+=("$kind: all $total tests passed but the program exited with $status")
  else
    add $((total - bad)) "$bad"
    [ "$bad" = 0 ] || notes+=("$kind: $bad Windows tests failed")
  fi
}

trap 'end_wine; stop_xvfb' EXIT
start_xvfb
for kind in "${kinds[@]}"; do
  if [ "$kind" = x64 ] && [ "$built64" = 0 ]; then continue; fi
  if [ "$kind" != x64 ] && [ "$built32" = 0 ]; then continue; fi
  run_windows_tests "$kind"
done
stop_xvfb
trap - EXIT
if ! can_run_32bit && [ -n "$list_count" ]; then skipped=$((2 * list_count)); fi

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
