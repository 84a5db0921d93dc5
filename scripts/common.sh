# Shared by the scripts. Source it, don't run it. Each concern has a file of its own in lib/:
#   setup.sh    ensure_setup: install what is missing, then start the script again
#   kinds.sh    the kinds of Windows (win32, wow64, x64) in one table; whether 32-bit programs run
#   build.sh    the native build and the Windows builds
#   display.sh  the virtual display (Xvfb), the main window in it, screenshots
#   wine.sh     a kind's Wine prefix, its Recycle Bin, its sessions, the test drive
#   counts.sh   counts read from GoogleTest's and ctest's summaries, and the test command's tally
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QORVANI_BUILD:-$ROOT/build}"
JOBS="${JOBS:-$(nproc)}"

log() { printf '== %s\n' "$*" >&2; }

for _lib in setup kinds build display wine counts; do
  source "$ROOT/scripts/lib/$_lib.sh"
done
unset _lib
