# The three kinds of Windows that run our programs, in one table:
#   win32  the 32-bit build in a 32-bit prefix (32-bit Windows)
#   wow64  the 32-bit build in a 64-bit prefix (64-bit Windows, the file-system redirector on)
#   x64    the 64-bit build in the same 64-bit prefix
# The 32-bit kinds need a kernel that runs 32-bit programs (Wine's 32-bit loader is one); on a
# kernel whose 32-bit emulation is off only x64 can run.
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
KINDS=(win32 wow64 x64)
declare -gA KIND_BUILD=([win32]=windows [wow64]=windows [x64]=windows64)        # under $BUILD
declare -gA KIND_EXE=([win32]=qorvani.exe [wow64]=qorvani.exe [x64]=qorvani64.exe)
declare -gA KIND_PREFIX=([win32]=wineprefix32 [wow64]=wineprefix64 [x64]=wineprefix64)  # under $BUILD
declare -gA KIND_ARCH=([win32]=win32 [wow64]=win64 [x64]=win64)
declare -gA KIND_LOADER=([win32]="$WINE32_LOADER" [wow64]="$WINE32_LOADER" [x64]="$WINE64_LOADER")

# The folder holding the Windows programs of a kind, and its main program's file name.
kind_build() { echo "$BUILD/${KIND_BUILD[$1]}"; }
kind_exe() { echo "${KIND_EXE[$1]}"; }
# True for the kinds that run the 32-bit build.
kind_is_32bit() { [ "${KIND_BUILD[$1]}" = windows ]; }

# True when 32-bit programs run natively. A binfmt_misc handler for i386 programs (an emulator
# such as qemu-user) makes them start, but 20 times slower: not a Windows to test on.
i386_emulated() {
  local f
  for f in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$f" ] && [ "$(basename "$f")" != status ] && [ "$(basename "$f")" != register ] || continue
    grep -qx enabled "$f" 2>/dev/null && grep -q '^magic 7f454c46010101' "$f" 2>/dev/null && return 0
  done
  return 1
}
can_run_32bit() {
  if [ -z "${QORVANI_CAN_RUN_32BIT:-}" ]; then
    QORVANI_CAN_RUN_32BIT=0
    if ! i386_emulated && timeout 20 "$WINE32_LOADER" --version >/dev/null 2>&1; then QORVANI_CAN_RUN_32BIT=1; fi
    export QORVANI_CAN_RUN_32BIT
  fi
  [ "$QORVANI_CAN_RUN_32BIT" = 1 ]
}
why_no_32bit() {
  if [ ! -x "$WINE32_LOADER" ]; then echo "Wine's 32-bit loader (wine32) is not installed"
  elif i386_emulated; then echo "32-bit programs run here only through an emulator (binfmt_misc), far too slowly to test on"
  else echo "this machine's kernel runs no 32-bit programs (its 32-bit emulation is off: see dmesg)"; fi
}

# The kind that the run, bench and showcase scripts use: the product where it can run.
default_kind() { if can_run_32bit; then echo win32; else echo x64; fi; }
