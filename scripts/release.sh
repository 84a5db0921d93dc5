#!/usr/bin/env bash
# Makes the archive that Windows users download, build/release/qorvani-<version>-windows.zip,
# and prints its path as the last line. The archive holds the 32-bit qorvani.exe and the 64-bit
# qorvani64.exe, their console twins qorvani-cli.exe and qorvani64-cli.exe (Release, stripped of
# symbols), 使用说明.txt (how to use it, in Chinese: UTF-8
# with a BOM, CRLF lines) and SHA256SUMS (for sha256sum -c). Beside it, the manifests for Scoop
# (build/release/scoop/qorvani.json) and winget (build/release/winget/), for the address set in
# QORVANI_RELEASE_URL (the folder the archive is published in).
#
# The same commit gives the same bytes on any machine of this kind, in any folder: both
# programs are built from clean build folders of their own, with no link time and no folder
# names in them (CMakeLists.txt), and the archive's entries carry the last commit's time
# (SOURCE_DATE_EPOCH when set) in a fixed order (tools/release/make_zip.py).
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_setup "$@"

# Nothing of the caller's environment reaches the build or the archive.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS RCFLAGS
export TZ=UTC LC_ALL=C.UTF-8
umask 022

WORK="$BUILD/release-build"
OUT="$BUILD/release"

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  stamp="$SOURCE_DATE_EPOCH"
elif ! stamp=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null) || [ -z "$stamp" ]; then
  echo "release.sh: $ROOT is not a git checkout with a commit; set SOURCE_DATE_EPOCH" >&2
  exit 1
fi
if [ -n "$(git -C "$ROOT" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  log "warning: the work tree has uncommitted changes: this archive is not the last commit's"
fi

rm -rf "$WORK" "$OUT"
mkdir -p "$WORK" "$OUT"

# build ARCH TOOLCHAIN: the program alone, Release, in a clean folder.
build() {
  log "release build ($1)"
  # -s: the linker leaves the symbols out (strip would stamp the PE header with the time).
  cmake -S "$ROOT" -B "$WORK/$1" -DCMAKE_BUILD_TYPE=Release -DQORVANI_WINDOWS_TESTS=OFF \
        -DCMAKE_EXE_LINKER_FLAGS=-s -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$2" >/dev/null
  cmake --build "$WORK/$1" -j "$JOBS" --target qorvani qorvani_cli >/dev/null
}
build i686 mingw-i686.cmake
build x86_64 mingw-x86_64.cmake

version=$(sed -n 's/^#define QORVANI_VERSION_TEXT "\(.*\)"$/\1/p' "$WORK/i686/generated/QorvaniVersion.h")
[ -n "$version" ] || { echo "release.sh: no version in the configured build" >&2; exit 1; }

stage="$WORK/stage"
mkdir -p "$stage"
programs=(qorvani.exe qorvani64.exe qorvani-cli.exe qorvani64-cli.exe)
cp "$WORK/i686/qorvani.exe" "$WORK/x86_64/qorvani64.exe" "$WORK/i686/qorvani-cli.exe" "$WORK/x86_64/qorvani64-cli.exe" "$stage/"
{
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$ROOT/tools/release/usage-zh.txt"
} >"$stage/使用说明.txt"
(cd "$stage" && sha256sum "${programs[@]}" >SHA256SUMS)

entries=("${programs[@]}" 使用说明.txt SHA256SUMS)
zipfile="$OUT/qorvani-$version-windows.zip"
/usr/bin/python3 "$ROOT/tools/release/make_zip.py" "$zipfile" "$stamp" "$stage" "${entries[@]}"
# The package managers' manifests, for the address the archive is published at.
url="${QORVANI_RELEASE_URL:-https://github.com/qorvani/qorvani/releases/download/v$version}/$(basename "$zipfile")"
/usr/bin/python3 "$ROOT/tools/release/make_manifests.py" "$zipfile" "$version" "$url" "$OUT"
log "$(du -b "$zipfile" | cut -f1) bytes, sha256 $(sha256sum "$zipfile" | cut -d' ' -f1)"
echo "$zipfile"
