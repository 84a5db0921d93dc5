#!/usr/bin/env bash
# Makes the fixture trees of the robustness tests (RobustnessTest.cpp) from Linux, where names
# that Windows cannot make are possible: wildcards, separators, trailing dots, invalid UTF-8,
# names differing only in case, symbolic-link loops, FIFOs, sparse files of several GiB.
# Usage: make_fixtures.sh FOLDER   (everything in FOLDER is made afresh; the tests find it
# through the environment variable QORVANI_FIXTURES). The tests delete from some of the trees,
# so a run needs trees of its own: the test command makes them anew for each kind of Windows it
# runs (a folder per run). A failure to make any of them ends the script with a non-zero status.
set -euo pipefail
OUT="${1:?usage: make_fixtures.sh FOLDER}"
COPIES="${QORVANI_FIXTURE_COPIES:-1}"  # the soak run asks for more copies of the delete trees
if ! [[ "$COPIES" =~ ^[1-9][0-9]*$ ]]; then
  echo "make_fixtures.sh: QORVANI_FIXTURE_COPIES must be a whole number from 1 up, not '$COPIES'" >&2
  exit 2
fi

[ -d "$OUT" ] && chmod -R u+rwx "$OUT" 2>/dev/null  # the locked folder of an earlier run
rm -rf "$OUT"
mkdir -p "$OUT"
cd "$OUT"

# put PATH TEXT: a small file whose contents tell it apart from every other one.
put() { mkdir -p "$(dirname -- "$1")"; printf '%s\n' "${2:-$1}" > "$1"; }

# Names that Windows cannot make or cannot tell apart, each beside its look-alike.
make_names() {
  local d="$1"
  mkdir -p "$d"
  put "$d/中文名.tmp"
  put "$d/😀emoji.tmp"
  put "$d/한국어.tmp"
  put "$d/ไทย-é-ß.tmp"
  put "$d/a?b.tmp";        put "$d/axb.tmp"
  put "$d/st*r.tmp";       put "$d/stXr.tmp"
  put "$d/x\\y.tmp";       put "$d/x/y.tmp"
  put "$d/col:on.tmp";     put "$d/col"
  put "$d/q\"uote.tmp";    put "$d/lt<gt>.tmp";   put "$d/pi|pe.tmp"
  put "$d/Case.tmp";       put "$d/CASE.tmp";     put "$d/case.tmp"
  put "$d/ lead.tmp";      put "$d/.dotlead.tmp"; put "$d/  .tmp"
  put "$d/~trail.tmp ";    put "$d/~trail.tmp.";  put "$d/~trail.tmp"   # found by "~*.*"
  printf 'bad byte\n'    > "$d/"$'\xfe'".tmp"           # listed as U+FFFD ".tmp"
  printf 'replacement\n' > "$d/"$'\xef\xbf\xbd'".tmp"   # a real U+FFFD ".tmp"
  printf 'control\n'     > "$d/"$'a\x01b'".tmp"
  printf 'newline\n'     > "$d/"$'nl\nx'".tmp"
  # 255-byte names: 255 ASCII characters, 83 three-byte characters and 5 more, 62 emoji and 4 more.
  put "$d/$(printf 'k%.0s' $(seq 251)).tmp"
  put "$d/$(printf '中%.0s' $(seq 83))a.tmp"
  put "$d/$(printf '😀%.0s' $(seq 62)).tmp"
  put "$d/sub 中文/内.tmp";  put "$d/sub 中文/keep.txt"
  put "$d/dir.tmp/inner.tmp"
  put "$d/keep.txt";       put "$d/notes.tmpx";   put "$d/中文.txt"
}

# A chain 300 folders deep with a junk file at every level, and a chain of long folder names
# with a long file name at every level: most of both lie beyond what a Windows path can name.
make_deep() {
  local d="$1" p i
  p="$d/chain"
  for i in $(seq 300); do
    mkdir -p "$p"
    put "$p/lvl.tmp" "level $i"
    p="$p/d"
  done
  p="$d/long"
  for i in 1 2 3 4 5; do
    p="$p/$(printf "n$i%.0s" $(seq 50))"
    mkdir -p "$p"
    put "$p/f.tmp" "short name at $i"
    put "$p/$(printf "l$i%.0s" $(seq 100)).tmp" "long name at $i"
  done
}

# Folders that cannot be listed or that name another folder, beside ones that can.
make_unlistable() {
  local d="$1"
  mkdir -p "$d"
  put "$d/ok/ok.tmp";  put "$d/zz.tmp"
  put "$d/q?d/i.tmp";  put "$d/st*r/j.tmp";  put "$d/lt<gt>/k.tmp";  put "$d/pi|pe/l.tmp"
  put "$d/qu\"ote/m.tmp"
  put "$d/d./f.tmp" "the folder with the trailing dot"; put "$d/d/f.tmp" "d"
  put "$d/x\\z/n.tmp"                                  # no folder x\z behind it
  put "$d/y\\w/p.tmp"; put "$d/y/w/q.tmp"              # y\w names y/w
  mkdir -p "$d/"$'\xfe' "$d/"$'\xef\xbf\xbd'
  printf 'r\n' > "$d/"$'\xfe'"/r.tmp"; printf 's\n' > "$d/"$'\xef\xbf\xbd'"/s.tmp"
  put "$d/sp /t.tmp";  put "$d/col:d/h.tmp"
  ln -s /nonexistent/file "$d/dang.tmp"
  ln -s /nonexistent/folder "$d/danglingdir"
  ln -s selfloop "$d/selfloop"
  mkfifo "$d/fifo.tmp"
  # Permissions cannot keep root out; the tests find out whether they can list it.
  put "$d/locked/in.tmp"; chmod 000 "$d/locked"
}

make_names names.pristine
for i in $(seq "$COPIES"); do
  make_names "names.yes$i"
  make_names "names.no$i"
  make_deep "long.yes$i"
done
make_deep deep
make_unlistable unlist

# Folder-link loops: one through itself, one through an ancestor. The walk cuts both.
mkdir -p loop loop2/a/b
put loop/j.tmp; ln -s . loop/self
put loop2/a/j.tmp; put loop2/a/b/k.tmp; ln -s ../.. loop2/a/b/up

# Two links to its own folder and one to its grandparent, and a link to a folder outside the
# tree, which is walked: every file is listed once, and e.tmp once more through "away".
mkdir -p cycles/a/b elsewhere
put cycles/top.tmp; put cycles/a/a.tmp; put cycles/a/b/b.tmp; put elsewhere/e.tmp
ln -s . cycles/a/b/self1; ln -s "$PWD/cycles/a/b" cycles/a/b/self2; ln -s ../.. cycles/a/b/up
ln -s ../elsewhere cycles/away

# No loop, but a fork at every level: two links to the next level, so the paths through the
# links double with every level (30 levels: below the 40 links a Linux path may pass through).
# Each level is walked once; walked as on a file system that gives no file IDs (the long-command
# tests do that), no path limit bounds the walk in useful time.
mkdir -p fork/lvl
put fork/j.tmp; ln -s lvl/1 fork/l1; ln -s lvl/1 fork/l2
for i in $(seq 1 30); do
  mkdir -p "fork/lvl/$i"; put "fork/lvl/$i/j.tmp" "level $i"
  ln -s "../$((i + 1))" "fork/lvl/$i/l1"; ln -s "../$((i + 1))" "fork/lvl/$i/l2"
done
mkdir -p fork/lvl/31

# Sizes around the 32-bit limits, sparse.
mkdir -p sizes
for size in s0:0 s102:102 s103:103 half:524288 s2g:2147483648 s3e9:3000000000 s4g:4294967296 s5g:5368709120; do
  truncate -s "${size#*:}" "sizes/${size%%:*}.tmp"
done

# A wide tree for scans that last a while: 3000 folders with a junk file each.
mkdir -p many
(cd many && mkdir f{0..2999} && for i in {0..2999}; do printf 'x' > "f$i/x.tmp"; done)

# Links to a sibling: v2 holds 250 junk files, current and old link to it (Wine shows them as
# folder links); each file is listed once.
mkdir -p siblings/v2
(cd siblings/v2 && for i in $(seq 0 249); do printf 'x' > "r$i.tmp"; done)
ln -s v2 siblings/current; ln -s "$PWD/siblings/v2" siblings/old

# One crowded folder and no subfolder (a Temp folder left to grow): the walk enters no folder
# while it lists it.
mkdir -p crowded
(cd crowded && seq -f 'c%06g.tmp' 0 199999 | xargs touch)

# A delete tree: 1,000 rows to check beside 20,000 files that no mask lists, so that looking a
# name up that is gone searches a big folder.
mkdir -p mostlygone
(cd mostlygone && seq -f 'other%05g.dat' 0 19999 | xargs touch && seq -f 'row%04g.tmp' 0 999 | xargs touch)

# 20,000 rows of 1 KiB each, for the checked total after a check-all pass.
mkdir -p twenty
(cd twenty && seq -f 't%05g.tmp' 0 19999 | xargs truncate -s 1024)

# Names that a Win32 path opens as a device, alone in their folder: the delete never sends them.
put devnames/NUL.tmp "not the null device"; put devnames/aux.bak "not the aux device"

# The folder that the test command links the drive letter Q: to (link_test_drive in
# scripts/common.sh), for a drive that goes away after its scan.
put drive-q/drive-q.txt "the test drive"

echo "fixtures in $OUT"
