#!/usr/bin/env bash
# The test command's counts (scripts/common.sh: gtest_counts, ctest_counts) read from summaries
# as GoogleTest 1.12 and ctest 3.25 print them: a skipped test is counted as skipped, never as
# passed; a run without a summary is no count at all; tests a summary leaves out count as failed.
# Registered with ctest (CMakeLists.txt); prints each mismatch and exits non-zero on any.
set -uo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0
expect() {  # expect NAME FUNCTION "PASSED FAILED SKIPPED TOTAL" (or "none") TEXT
  printf '%s\n' "$4" >"$work/$1.log"
  local got
  got=$("$2" "$work/$1.log") || got=none
  if [ "$got" != "$3" ]; then echo "$1: $2 gave '$got', expected '$3'"; bad=1; fi
}

expect gtest-mixed gtest_counts "1 1 1 3" '[ RUN      ] A.Pass
[       OK ] A.Pass (0 ms)
[ RUN      ] A.Skip
[  SKIPPED ] A.Skip (0 ms)
[ RUN      ] A.Fail
[  FAILED  ] A.Fail (0 ms)
[==========] 3 tests from 1 test suite ran. (0 ms total)
[  PASSED  ] 1 test.
[  SKIPPED ] 1 test, listed below:
[  SKIPPED ] A.Skip
[  FAILED  ] 1 test, listed below:
[  FAILED  ] A.Fail

 1 FAILED TEST
  YOU HAVE 1 DISABLED TEST'
expect gtest-skips gtest_counts "50 0 3 53" '[==========] 53 tests from 12 test suites ran. (185099 ms total)
[  PASSED  ] 50 tests.
[  SKIPPED ] 3 tests, listed below:
[  SKIPPED ] RobustNames.YesDeletesExactlyTheListedFilesAndNoLookAlike
[  SKIPPED ] RobustNames.NoPutsExactlyTheListedFilesInTheTrashAndNowhereElse
[  SKIPPED ] LongOps.SelectAllOverTwoHundredThousandRowsIsNeverHung'
expect gtest-passed gtest_counts "53 0 0 53" 'robustness summary: cases run 13
[==========] 53 tests from 12 test suites ran. (185099 ms total)
[  PASSED  ] 53 tests.'
# Only the run lines: the program ended before its summary.
expect gtest-crashed gtest_counts none '[ RUN      ] A.Pass
[       OK ] A.Pass (0 ms)
[ RUN      ] A.Crash'
expect gtest-unaccounted gtest_counts "3 2 0 5" '[==========] 5 tests from 2 test suites ran. (10 ms total)
[  PASSED  ] 3 tests.'

expect ctest-mixed ctest_counts "1 1 1 3" '4/4 Test #4: A.Off ............................***Not Run (Disabled)   0.00 sec

67% tests passed, 1 tests failed out of 3

Total Test time (real) =   0.02 sec

The following tests did not run:
	  2 - A.Skip (Skipped)
	  4 - A.Off (Disabled)

The following tests FAILED:
	  3 - A.Fail (Failed)'
expect ctest-passed ctest_counts "120 0 0 120" '100% tests passed, 0 tests failed out of 120

Total Test time (real) =  12.00 sec'
expect ctest-none ctest_counts none 'Errors while running CTest'

# The tally: stages add up, skipped ones appear only when there are any, a failure fails it.
got=$(tally 5 0; tally 2 0 3; tally_note "x64: 3 Windows tests skipped"; tally_report) ||
  { echo "tally: failed without a failure"; bad=1; }
[ "$got" = $'\nnote: x64: 3 Windows tests skipped\n7 passed, 0 failed, 3 skipped' ] || { echo "tally gave '$got'"; bad=1; }
got=$(tally 1 0; tally 0 1; tally_report) && { echo "tally: a failure passed"; bad=1; }
[ "$(tail -n 1 <<<"$got")" = "1 passed, 1 failed" ] || { echo "tally gave '$got'"; bad=1; }

[ "$bad" = 0 ] && echo "counts: every summary and tally read as expected"
exit "$bad"
