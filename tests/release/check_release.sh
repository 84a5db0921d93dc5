#!/usr/bin/env bash
# Makes the release archive (scripts/release.sh) and checks it: entries, usage text, stripped and
# versioned programs (archive_checks.py), the checksums, the same bytes from a copy of the source
# in another folder, and the archive's own programs showing their main window under Wine (the
# 32-bit one on win32 and wow64 where this machine runs 32-bit programs, the 64-bit one on x64).
# Last line: "release: N passed, N failed, N skipped".
set -uo pipefail
source "$(dirname "$0")/../../scripts/common.sh"

passed=0 failed=0 skipped=0
check() { local what="$1"; shift; if "$@"; then passed=$((passed + 1)); echo "PASS $what"; else failed=$((failed + 1)); echo "FAIL $what"; return 1; fi; }
skip() { skipped=$((skipped + 1)); echo "SKIP $*"; }
finish() { echo "release: $passed passed, $failed failed, $skipped skipped"; exit $((failed > 0)); }

CHECK="$BUILD/release-check"
rm -rf "$CHECK" && mkdir -p "$CHECK"
archive=$(bash "$ROOT/scripts/release.sh" | tail -n 1)
check "scripts/release.sh made $archive" test -f "$archive" || finish
stamp="${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}"

out=$(/usr/bin/python3 "$ROOT/tests/release/archive_checks.py" "$archive" "$stamp" "$CHECK/unpacked" "$ROOT" "$BUILD" 2>&1)
printf '%s\n' "$out"
passed=$((passed + $(grep -c '^PASS' <<<"$out"))) failed=$((failed + $(grep -c '^FAIL' <<<"$out")))
check "archive_checks.py ran its checks" test "$(grep -cE '^(PASS|FAIL)' <<<"$out")" -ge 5

sums_verify() { (cd "$CHECK/unpacked" && sha256sum -c --strict SHA256SUMS) &&
  [ "$(cut -d' ' -f3 "$CHECK/unpacked/SHA256SUMS" | tr '\n' ' ')" = "qorvani.exe qorvani64.exe qorvani-cli.exe qorvani64-cli.exe " ]; }
check "SHA256SUMS lists the four programs and verifies them" sums_verify

manifests_hold() {
  local sha version
  sha=$(sha256sum "$archive" | cut -d' ' -f1)
  version=$(basename "$archive" | sed 's/^qorvani-\(.*\)-windows\.zip$/\1/')
  /usr/bin/python3 - "$(dirname "$archive")" "$sha" "$version" "$(basename "$archive")" <<'PY'
import json, os, sys
out, sha, version, name = sys.argv[1:]
scoop = json.load(open(os.path.join(out, "scoop", "qorvani.json"), encoding="utf-8"))
assert scoop["version"] == version
for arch, suffix in (("64bit", "64"), ("32bit", "")):
    a = scoop["architecture"][arch]
    assert a["hash"] == sha and a["url"].endswith("/" + name), a
    assert a["bin"][0] == [f"qorvani{suffix}-cli.exe", "qorvani-cli"] and a["shortcuts"][0][0] == f"qorvani{suffix}.exe", a
installer = open(os.path.join(out, "winget", "Qorvani.Qorvani.installer.yaml"), encoding="utf-8").read()
assert installer.count("InstallerSha256: " + sha.upper()) == 2 and f"PackageVersion: {version}\n" in installer
for exe in ("qorvani64.exe", "qorvani64-cli.exe", "qorvani.exe", "qorvani-cli.exe"):
    assert f"RelativeFilePath: {exe}\n" in installer, exe
for kind in ("", ".locale.zh-CN"):
    assert f"PackageVersion: {version}\n" in open(os.path.join(out, "winget", f"Qorvani.Qorvani{kind}.yaml"), encoding="utf-8").read()
PY
}
check "the Scoop and winget manifests name the archive, its SHA-256 and the four programs" manifests_hold

# The same source (with any uncommitted change) in another folder, with its own build folder.
if [ "${QORVANI_SKIP_RELEASE_REPRO:-0}" = 1 ]; then
  skip "the second release build (QORVANI_SKIP_RELEASE_REPRO=1)"
else
  copy="$CHECK/a-copy-of-the-source-in-another-folder"
  mkdir -p "$copy"
  (cd "$ROOT" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy" 2>/dev/null)
  again=$(SOURCE_DATE_EPOCH="$stamp" QORVANI_BUILD="$copy/build" bash "$copy/scripts/release.sh" | tail -n 1)
  check "a second build in another folder gives the same bytes: $again" cmp "$archive" "$again"
  rm -rf "$copy"
fi

# The archive's programs under Wine, one session per kind, each ended before the next.
trap 'end_wine; stop_xvfb' EXIT
start_xvfb || { check "a virtual display" false; finish; }
shows_main_window() {
  use_wine "$1"
  wine_run 120 "$WINE" "$CHECK/unpacked/$(kind_exe "$1")" >/dev/null 2>&1 &
  local pid=$! win
  win=$(wait_for_main_window)
  end_wine
  wait "$pid" 2>/dev/null
  [ -n "$win" ]
}
for kind in win32 wow64 x64; do
  if [ "$kind" != x64 ] && ! can_run_32bit; then skip "the archive's qorvani.exe on $kind: $(why_no_32bit)"; continue; fi
  check "the archive's $(kind_exe "$kind") shows its main window on $kind" shows_main_window "$kind"
done
finish
