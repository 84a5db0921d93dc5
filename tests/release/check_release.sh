#!/usr/bin/env bash
# Makes the release archive (scripts/release.sh) and checks it: the entries, the usage text,
# both programs stripped and versioned as the archive's name says (inspect_release.py), the
# checksums, that a second run from a copy of the source in another folder gives the same
# bytes, and that the archive's own programs start and show the main window under Wine: the
# 32-bit one on win32 and wow64 (where this machine runs 32-bit programs), the 64-bit one on x64.
# Last line: "release: N passed, N failed, N skipped".
set -uo pipefail
source "$(dirname "$0")/../../scripts/common.sh"

passed=0 failed=0 skipped=0
pass() { passed=$((passed + 1)); echo "PASS $*"; }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
finish() { echo "release: $passed passed, $failed failed, $skipped skipped"; exit $((failed > 0)); }

CHECK="$BUILD/release-check"
rm -rf "$CHECK"
mkdir -p "$CHECK"

archive=$(bash "$ROOT/scripts/release.sh" | tail -n 1)
[ -f "$archive" ] || { fail "scripts/release.sh made no archive"; finish; }
pass "scripts/release.sh made $(basename "$archive")"
stamp="${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}"

out=$(/usr/bin/python3 "$ROOT/tests/release/inspect_release.py" "$archive" "$stamp" "$CHECK/unpacked" \
      "$ROOT" "$BUILD" 2>&1)
printf '%s\n' "$out"
passed=$((passed + $(grep -c '^PASS' <<<"$out")))
failed=$((failed + $(grep -c '^FAIL' <<<"$out")))
grep -qE '^(PASS|FAIL)' <<<"$out" || fail "inspect_release.py ran no check"

if (cd "$CHECK/unpacked" && sha256sum -c --strict SHA256SUMS) &&
   [ "$(cut -d' ' -f3 "$CHECK/unpacked/SHA256SUMS" | sort | tr '\n' ' ')" = "qorvani.exe qorvani64.exe " ]; then
  pass "SHA256SUMS lists both programs and verifies"
else
  fail "SHA256SUMS"
fi

# The same source in another folder (a longer path) with its own build folder gives the same bytes.
if [ "${QORVANI_SKIP_RELEASE_REPRO:-0}" = 1 ]; then
  skipped=$((skipped + 1)); echo "SKIP the second release build (QORVANI_SKIP_RELEASE_REPRO=1)"
elif git -C "$ROOT" rev-parse --git-dir >/dev/null 2>&1; then
  copy="$CHECK/a-copy-of-the-source-in-another-folder"
  mkdir -p "$copy"
  (cd "$ROOT" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy" 2>/dev/null)
  again=$(SOURCE_DATE_EPOCH="$stamp" QORVANI_BUILD="$copy/build" bash "$copy/scripts/release.sh" | tail -n 1)
  if [ -f "$again" ] && cmp "$archive" "$again" && [ "$(basename "$again")" = "$(basename "$archive")" ]; then
    pass "a second build in another folder gives the same archive ($(sha256sum "$archive" | cut -c1-16)...)"
  else
    fail "a second build in another folder gave other bytes ($again)"
  fi
  rm -rf "$copy"
else
  skipped=$((skipped + 1)); echo "SKIP the second release build: $ROOT is not a git checkout"
fi

# The archive's programs under Wine, one session per kind, each ended before the next.
trap 'end_wine; stop_xvfb' EXIT
start_xvfb || { fail "no virtual display"; finish; }
for kind in win32 wow64 x64; do
  if [ "$kind" != x64 ] && ! can_run_32bit; then
    skipped=$((skipped + 1)); echo "SKIP the archive's qorvani.exe on $kind: $(why_no_32bit)"; continue
  fi
  exe="$CHECK/unpacked/$(kind_exe "$kind")"
  use_wine "$kind"
  wine_run 120 "$WINE" "$exe" >/dev/null 2>&1 &
  pid=$!
  win=$(wait_for_main_window)
  end_wine
  wait "$pid" 2>/dev/null
  if [ -n "$win" ]; then pass "the archive's $(kind_exe "$kind") shows its main window on $kind"
  else fail "the archive's $(kind_exe "$kind") showed no main window on $kind"; fi
done
finish
