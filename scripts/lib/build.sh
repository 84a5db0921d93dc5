# The builds: the native one (the platform-free code, its tests and benchmarks) and the two
# Windows ones. Extra arguments go to cmake --build.
build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS" "$@"
}

# build_windows_in FOLDER TOOLCHAIN ARGS...: a Windows build in $BUILD/FOLDER.
build_windows_in() {
  local folder="$1" toolchain="$2"
  shift 2
  cmake -S "$ROOT" -B "$BUILD/$folder" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain" >/dev/null
  cmake --build "$BUILD/$folder" -j "$JOBS" "$@"
}
# The 32-bit build (qorvani.exe, the product) in $BUILD/windows.
build_windows() { build_windows_in windows mingw-i686.cmake "$@"; }
# The 64-bit build (qorvani64.exe) in $BUILD/windows64.
build_windows64() { build_windows_in windows64 mingw-x86_64.cmake "$@"; }
# What a kind runs.
build_kind() {
  local kind="$1"
  shift
  if kind_is_32bit "$kind"; then build_windows "$@"; else build_windows64 "$@"; fi
}
