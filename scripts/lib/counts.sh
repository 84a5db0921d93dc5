# gtest_counts FILE: "PASSED FAILED SKIPPED TOTAL" from GoogleTest's closing summary in FILE (a
# skipped test is never a passed one); fails, printing nothing, when FILE holds no summary. Tests
# that the summary does not account for are counted as failed.
gtest_counts() {
  local total passed failed skipped
  total=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$1" | tail -n 1)
  [ -n "$total" ] || return 1
  passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' "$1" | tail -n 1)
  failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:$/\1/p' "$1" | tail -n 1)
  skipped=$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?, listed below:$/\1/p' "$1" | tail -n 1)
  passed=${passed:-0}; failed=${failed:-0}; skipped=${skipped:-0}
  local unaccounted=$((total - passed - failed - skipped))
  [ "$unaccounted" -le 0 ] || failed=$((failed + unaccounted))
  echo "$passed $failed $skipped $total"
}

# ctest_counts FILE: the same from ctest's output in FILE. ctest's "N% tests passed" counts a
# skipped test as passed; the skipped ones are those listed as "(Skipped)" among the tests that
# did not run. Disabled tests are in no count, as in GoogleTest's.
ctest_counts() {
  local line total failed skipped
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  [ -n "$line" ] || return 1
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$1")
  echo "$((total - failed - skipped)) $failed $skipped $total"
}

# The test command's one tally: each stage adds what it counted (tally PASSED FAILED [SKIPPED]),
# tally_note keeps a line for the reader, and tally_report prints the notes and the closing line,
# "N passed, N failed" (", N skipped" when tests were skipped), failing when anything failed.
TALLY_PASSED=0
TALLY_FAILED=0
TALLY_SKIPPED=0
TALLY_NOTES=()
tally() {
  TALLY_PASSED=$((TALLY_PASSED + $1))
  TALLY_FAILED=$((TALLY_FAILED + $2))
  TALLY_SKIPPED=$((TALLY_SKIPPED + ${3:-0}))
}
tally_note() { TALLY_NOTES+=("$*"); }
tally_report() {
  echo
  local note
  for note in "${TALLY_NOTES[@]}"; do echo "note: $note"; done
  if [ "$TALLY_SKIPPED" -gt 0 ]; then
    echo "$TALLY_PASSED passed, $TALLY_FAILED failed, $TALLY_SKIPPED skipped"
  else
    echo "$TALLY_PASSED passed, $TALLY_FAILED failed"
  fi
  [ "$TALLY_FAILED" -eq 0 ]
}
