#!/usr/bin/env bash
# Runs the benchmarks and prints one table with every figure, its goal and met / MISSED:
#   B1  the folder walk natively against GNU find (qorvani_bench b1)
#   B2  a scan in the real window against a bare Win32 walk (qorvani_winbench under Wine)
#   B3  select-all / select-none on a big result list, memory per row
#   B4  deleting checked files for good and to the Recycle Bin against bare shell calls
#   B5  from a real stop click to the report
#   MEM the memory a scan adds per result row: 100,000 files in 5,000 folders, 20,000 rows
#   M   a million files in 10,000 folders (100,000 rows): the window's scan against the two bare
#       walks, select-all, the sort by path and the memory per row
# Each figure is the median of the runs (5 unless BENCH_RUNS says otherwise).
#
#   scripts/bench.sh            full sizes: about 15 minutes on 2 cores the first time (the trees,
#                               1.5 million files, take ~6 GB and 1.6 million inodes), 10 after that
#   scripts/bench.sh --smoke    tiny trees, one run each, well under a minute; no goal judged
#                               (its table has no goal column)
#
# The trees are made by qorvani_bench generate under $BUILD/bench (or $BENCH_DIR), once per
# shape: a tree is made again only when it (or its manifest) is missing. Sizes can be set from
# the environment:
#   BENCH_B1_FILES (1000000)  BENCH_B2_FILES (200000)  BENCH_B2_MATCHES (20000)
#   BENCH_B3_FILES (100000)   BENCH_B4_FILES (2000)    BENCH_B5_FILES (200000)
#   BENCH_MEM_FILES (100000)  BENCH_M_FILES (1000000)
#   BENCH_RUNS (5)            BENCH_ONLY (e.g. "b2 b5 mem m": run only these)
#   BENCH_BEFORE (a build folder of an earlier commit, made with QORVANI_BUILD: its programs run
#                 each benchmark too, right before this build's, and their figures are printed
#                 beside, marked "[before]"; its Windows build must be of the same kind)
#
# Memory per row is what the process's private bytes grew by from before the scan to after it,
# divided by the rows. Windows tells it (PrivateUsage); Wine gives 0 there, so under Wine it is
# the growth of the Linux process's own RssAnon (its anonymous resident pages: the heap and every
# private allocation written to), read by the program from /proc/self/status.
# Exit status: 0 when every benchmark ran (missed goals included), 1 when one failed (a
# mismatch of results, a crash, a time-out).
set -euo pipefail
source "$(dirname "$0")/common.sh"

mode=full
case "${1:-}" in
  --smoke) mode=smoke ;;
  "") ;;
  *) echo "usage: scripts/bench.sh [--smoke]" >&2; exit 2 ;;
esac

ensure_setup "$@"
# The Windows benchmarks run the product's build where this machine can run it, else the 64-bit
# build (BENCH_KIND=win32|wow64|x64 chooses).
KIND="${BENCH_KIND:-$(default_kind)}"
BUILD="$(mkdir -p "$BUILD" && cd "$BUILD" && pwd)"
BENCH="${BENCH_DIR:-$BUILD/bench}"
LOGS="$BENCH/logs"
mkdir -p "$BENCH" "$LOGS"

log "native build"
build_native >&2
log "windows build ($KIND)"
build_kind "$KIND" >&2
WINBUILD="$(kind_build "$KIND")"
BEFORE="${BENCH_BEFORE:+$(cd "$BENCH_BEFORE" && pwd)}"
if [ -n "$BEFORE" ]; then
  [ -x "$BEFORE/native/qorvani_bench" ] && [ -f "$BEFORE/${KIND_BUILD[$KIND]}/qorvani_winbench.exe" ] ||
    { echo "bench.sh: BENCH_BEFORE=$BEFORE holds no native and $KIND build of the benchmarks" >&2; exit 2; }
fi
# The sides of every comparison: this build, and the build before when one is given (first).
SIDES=(after)
[ -n "$BEFORE" ] && SIDES=(before after)

# The trees' shapes, by name: the generator's seed, folders, files, matching files and sparse files.
declare -A B1 B2 B3 B5 MEM M
if [ "$mode" = smoke ]; then
  runs=1
  B1=([seed]=1 [folders]=20 [files]=400 [matches]=40 [sparse]=1)
  B2=([seed]=2 [folders]=20 [files]=300 [matches]=30 [sparse]=1)
  B3=([seed]=3 [folders]=10 [files]=200 [matches]=200 [sparse]=0)
  B5=([seed]=5 [folders]=200 [files]=2000 [matches]=200 [sparse]=0)  # big enough for the stop click to land while the walk runs
  MEM=([seed]=7 [folders]=10 [files]=200 [matches]=40 [sparse]=0)
  M=([seed]=6 [folders]=20 [files]=1000 [matches]=100 [sparse]=0)
  b4_files=40
  b5_delay=0
  t_native=120; t_wine=120
else
  runs="${BENCH_RUNS:-5}"
  n1="${BENCH_B1_FILES:-1000000}"
  n2="${BENCH_B2_FILES:-200000}"
  n3="${BENCH_B3_FILES:-100000}"
  n5="${BENCH_B5_FILES:-200000}"
  B1=([seed]=1 [folders]=$((n1 / 20)) [files]=$n1 [matches]=$((n1 / 10)) [sparse]=4)
  B2=([seed]=2 [folders]=$((n2 / 20)) [files]=$n2 [matches]="${BENCH_B2_MATCHES:-20000}" [sparse]=3)
  B3=([seed]=3 [folders]=$((n3 / 20)) [files]=$n3 [matches]=$n3 [sparse]=0)
  # Folders of about 200 entries: far below the 1,000 that a stop may have to finish.
  B5=([seed]=5 [folders]=$((n5 / 200)) [files]=$n5 [matches]=$((n5 / 10)) [sparse]=0)
  nmem="${BENCH_MEM_FILES:-100000}"
  nm="${BENCH_M_FILES:-1000000}"
  MEM=([seed]=7 [folders]=$((nmem / 20)) [files]=$nmem [matches]=$((nmem / 5)) [sparse]=0)
  M=([seed]=6 [folders]=$((nm / 100)) [files]=$nm [matches]=$((nm / 10)) [sparse]=0)
  b4_files="${BENCH_B4_FILES:-2000}"
  b5_delay=300
  t_native=3600; t_wine=3600
fi

wanted() { [ -z "${BENCH_ONLY:-}" ] || [[ " $BENCH_ONLY " == *" $1 "* ]]; }

# tree SHAPE: prints the path of the tree of that shape (B1, B2, ...), making it when missing.
tree() {
  local -n shape="$1"
  local name="${1,,}"
  local dir="$BENCH/$name-s${shape[seed]}-d${shape[folders]}-n${shape[files]}-m${shape[matches]}-k${shape[sparse]}"
  if [ ! -d "$dir" ] || [ ! -f "$dir.manifest" ]; then
    rm -rf "$dir" "$dir.manifest"
    log "generating $dir"
    "$BUILD/native/qorvani_bench" generate "$dir" --seed "${shape[seed]}" --folders "${shape[folders]}" \
      --files "${shape[files]}" --matches "${shape[matches]}" --sparse "${shape[sparse]}" >&2
  fi
  printf '%s' "$dir"
}

# The path as Wine's Z: drive shows it.
winpath() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }

# value KEY LINE: the number after KEY= in a result line.
value() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$2"; }

# goal KEY: the goal that docs/benchmarks.md's table of goals gives KEY (judged in full runs only).
GOALS_DOC="$ROOT/docs/benchmarks.md"
goal() {
  local v
  v=$(awk -F'|' -v key="\`$1\`" '{ k = $2; gsub(/ /, "", k); if (k == key) { g = $4; gsub(/ /, "", g); print g } }' "$GOALS_DOC")
  [ -n "$v" ] || { echo "bench.sh: no goal for $1 in $GOALS_DOC" >&2; exit 2; }
  printf '%s' "$v"
}
goal_b1_masks=$(goal b1_masks)
goal_b1_find=$(goal b1_find)
goal_b2=$(goal b2)
goal_b2_repaints=$(goal b2_repaints)
goal_b3_ms=$(goal b3_ms)
goal_b3_bytes=$(goal b3_bytes)
goal_b3_sort_ms=$(goal b3_sort_ms)
goal_b4_forgood=$(goal b4_forgood)
goal_b4_trash=$(goal b4_trash)
goal_b5_ms=$(goal b5_ms)
goal_row_bytes=$(goal "$(kind_is_32bit "$KIND" && echo row_bytes_32 || echo row_bytes_64)")
goal_m_ratio=$(goal m_ratio)
goal_m_select_ms=$(goal m_select_ms)
goal_m_sort_ms=$(goal m_sort_path_ms)

failures=0
rows=()
SIDE=after
# row LABEL FIGURE GOAL RESULT: a line of the table; the build before's lines are marked.
row() {
  local label="$1"
  [ "$SIDE" = before ] && label="$label [before]"
  rows+=("$(printf '%s\t%s\t%s\t%s' "$label" "$2" "$3" "$4")")
}
# verdict VALUE OP GOAL: met or MISSED (OP is <= or >=); "-" when there is no value.
verdict() {
  [ -n "$1" ] || { echo "-"; return; }
  if awk -v v="$1" -v g="$3" -v op="$2" 'BEGIN { exit !((op == "<=") ? (v <= g) : (v >= g)) }'; then
    echo met
  else
    echo MISSED
  fi
}
failed() {
  failures=$((failures + 1))
  row "$1" "ERROR: see $2" "-" "ERROR"
  echo "$1 ($SIDE) failed; its log:" >&2
  tail -n 20 "$2" >&2 || true
}

# run_wine NAME ARGS...: runs qorvani_winbench, prints its result line (the line tagged NAME).
run_wine() {
  local name="$1"; shift
  local logfile="$LOGS/$name-$SIDE.log"
  local out dir="$WINBUILD"
  [ "$SIDE" = before ] && dir="$BEFORE/${KIND_BUILD[$KIND]}"
  if out=$(cd "$dir" && wine_run "$t_wine" "$WINE" ./qorvani_winbench.exe "$@" 2>"$logfile" | tr -d '\r'); then
    printf '%s\n' "$out" >>"$logfile"
    grep "^${name^^} " <<<"$out" || true
  else
    printf '%s\n' "$out" >>"$logfile"
    return 1
  fi
}

# --- B1, natively ---
bench_b1() {
  t1=$(tree B1)
  log "B1 on ${B1[files]} files ($SIDE)"
  local native="$BUILD/native"
  [ "$SIDE" = before ] && native="$BEFORE/native"
  if out=$(timeout "$t_native" "$native/qorvani_bench" b1 "$t1" --runs "$runs" 2>"$LOGS/b1-$SIDE.log"); then
    printf '%s\n' "$out" >>"$LOGS/b1-$SIDE.log"
    line=$(grep '^b1 ' <<<"$out" || true)
    # b1  matches  bytes  walk-ms  find+masks-ms  find-ms  ...
    read -r _ m1 _ walk masked bare _ <<<"$line" || true
    r1=$(awk -v a="$walk" -v b="$masked" 'BEGIN { printf "%.3f", a / b }')
    r2=$(awk -v a="$walk" -v b="$bare" 'BEGIN { printf "%.3f", a / b }')
    row "B1 walk / find with masks" "walk $walk ms, find+masks $masked ms: $r1 ($m1 matches, ${B1[files]} files)" \
      "<= $goal_b1_masks" "$(verdict "$r1" "<=" "$goal_b1_masks")"
    row "B1 walk / bare find" "walk $walk ms, find $bare ms: $r2" "<= $goal_b1_find" \
      "$(verdict "$r2" "<=" "$goal_b1_find")"
  else
    failed "B1" "$LOGS/b1-$SIDE.log"
  fi
}

need_wine=0
for b in b2 b3 b4 b5 mem m; do wanted $b && need_wine=1; done
if [ "$need_wine" = 1 ]; then
  trap 'end_wine; stop_xvfb' EXIT
  start_xvfb
  use_wine "$KIND"
  use_trash bench --empty
fi

# floors LINE: both bare walks of a b2 line, the faster one named.
floors() {
  printf 'bare walks: by handle %s ms, FindFirstFileExW %s ms' "$(value bare_walk_ms "$1")" "$(value find_walk_ms "$1")"
}

# scan_ratio_row LABEL LINE GOAL: the window's scan of a b2 line against the faster bare walk.
scan_ratio_row() {
  local ratio
  ratio=$(value ratio "$2")
  row "$1" "window $(value gui_scan_ms "$2") ms, $(floors "$2"): $ratio ($(value rows "$2") rows)" \
    "<= $3" "$(verdict "$ratio" "<=" "$3")"
}

# --- B2: a scan in the window against the faster of the two bare walks ---
bench_b2() {
  t2=$(tree B2)
  log "B2 on ${B2[files]} files, ${B2[matches]} matches ($SIDE)"
  if line=$(run_wine b2 b2 "$(winpath "$t2")" --runs "$runs") && [ -n "$line" ]; then
    scan_ratio_row "B2 window scan / faster bare walk" "$line" "$goal_b2"
    rate=$(value repaints_per_s "$line")
    row "B2 list+status repaints" "$rate per s ($(value repaints "$line") in the scan)" ">= $goal_b2_repaints/s" \
      "$(verdict "$rate" ">=" "$goal_b2_repaints")"
  else
    failed "B2" "$LOGS/b2-$SIDE.log"
  fi
}

# row_memory LABEL LINE: the memory per row of a b3 line, judged against the kind's goal.
row_memory() {
  local v measure
  v=$(value private_bytes_per_row "$2")
  measure="private bytes"
  if [ "$v" = 0.0 ] || [ -z "$v" ]; then
    v=$(value anon_bytes_per_row "$2"); measure="RssAnon (Wine)"
    if [ "$(value linux_process "$2")" != 1 ]; then
      failures=$((failures + 1))
      row "$1" "no measure: no private bytes, and no Linux process found" "<= $goal_row_bytes B" "ERROR"
      return
    fi
  fi
  row "$1" "$v B ($measure grown in the scan / $(value rows "$2") rows; store $(value store_bytes_per_row "$2") B)" \
    "<= $goal_row_bytes B" "$(verdict "$v" "<=" "$goal_row_bytes")"
}

# --- MEM: memory per row of a scan of the size users meet ---
bench_mem() {
  local t
  t=$(tree MEM)
  log "MEM on ${MEM[files]} files, ${MEM[matches]} matches ($SIDE)"
  if line=$(run_wine b3 b3 "$(winpath "$t")" --runs "$runs") && [ -n "$line" ]; then
    row_memory "MEM memory per row ($KIND)" "$line"
  else
    failed "MEM" "$LOGS/b3-$SIDE.log"
  fi
}

# --- M: a million files ---
bench_m() {
  local t
  t=$(tree M)
  log "M on ${M[files]} files, ${M[matches]} matches ($SIDE)"
  if line=$(run_wine b2 b2 "$(winpath "$t")" --runs "$runs") && [ -n "$line" ]; then
    scan_ratio_row "M window scan / faster bare walk" "$line" "$goal_m_ratio"
  else
    failed "M scan" "$LOGS/b2-$SIDE.log"
  fi
  if line=$(run_wine b3 b3 "$(winpath "$t")" --runs "$runs") && [ -n "$line" ]; then
    v=$(value select_all_ms "$line")
    row "M select-all (← 全选)" "$v ms ($(value rows "$line") rows)" "<= $goal_m_select_ms ms" \
      "$(verdict "$v" "<=" "$goal_m_select_ms")"
    v=$(value sort_path_ms "$line")
    row "M sort by path" "$v ms" "<= $goal_m_sort_ms ms" "$(verdict "$v" "<=" "$goal_m_sort_ms")"
    row_memory "M memory per row ($KIND)" "$line"
  else
    failed "M list" "$LOGS/b3-$SIDE.log"
  fi
}

# --- B3: big list ---
bench_b3() {
  t3=$(tree B3)
  log "B3 on ${B3[files]} rows ($SIDE)"
  if line=$(run_wine b3 b3 "$(winpath "$t3")" --runs "$runs") && [ -n "$line" ]; then
    n=$(value rows "$line")
    v=$(value select_all_ms "$line")
    row "B3 select-all (← 全选)" "$v ms ($n rows)" "<= $goal_b3_ms ms" "$(verdict "$v" "<=" "$goal_b3_ms")"
    v=$(value select_none_ms "$line")
    row "B3 select-none (← 全否)" "$v ms ($n rows)" "<= $goal_b3_ms ms" "$(verdict "$v" "<=" "$goal_b3_ms")"
    for sort in size path found; do
      v=$(value "sort_${sort}_ms" "$line")
      row "B3 sort by $sort" "$v ms ($n rows)" "<= $goal_b3_sort_ms ms" "$(verdict "$v" "<=" "$goal_b3_sort_ms")"
    done
    v=$(value ws_bytes_per_row "$line")
    private=$(value private_bytes_per_row "$line")
    # Wine reports no private bytes (always 0); Windows does.
    [ "$private" = 0.0 ] && private="" || private="private $private B, "
    row "B3 working set per row" "$v B (${private}result store $(value store_bytes_per_row "$line") B)" \
      "<= $goal_b3_bytes B" "$(verdict "$v" "<=" "$goal_b3_bytes")"
  else
    failed "B3" "$LOGS/b3-$SIDE.log"
  fi
}

# --- B4: delete ---
bench_b4() {
  work="$BENCH/b4-work"
  rm -rf "$work"
  # A Recycle Bin of B4's own, empty at the start (common.sh: use_trash).
  use_trash bench-b4 --empty
  log "B4 with $b4_files files per run ($SIDE)"
  if line=$(run_wine b4 b4 "$(winpath "$work")" --runs "$runs" --files "$b4_files") && [ -n "$line" ]; then
    # Both sides of every run send their files to the Recycle Bin: they must all be there.
    trashed=$(find "$(trash_files)" -maxdepth 1 -name 'qvbench_*' 2>/dev/null | wc -l)
    if [ "$trashed" -ne $((2 * runs * b4_files)) ]; then
      failures=$((failures + 1))
      row "B4 Recycle Bin" "$trashed files in the Recycle Bin, $((2 * runs * b4_files)) sent" "all" "ERROR"
    fi
    for kind in forgood trash; do
      label="B4 delete for good"; goal=$goal_b4_forgood
      if [ "$kind" = trash ]; then label="B4 delete to Recycle Bin"; goal=$goal_b4_trash; fi
      ratio=$(value ${kind}_ratio "$line")
      row "$label" \
        "window $(value ${kind}_gui_files_per_s "$line") files/s, bare $(value ${kind}_bare_files_per_s "$line") files/s: time ratio $ratio" \
        "<= $goal" "$(verdict "$ratio" "<=" "$goal")"
    done
  else
    failed "B4" "$LOGS/b4-$SIDE.log"
  fi
  rm -rf "$work" "$WINE_DATA_HOME/Trash"
  use_trash bench
}

# --- B5: stop latency ---
bench_b5() {
  t5=$(tree B5)
  log "B5 on ${B5[files]} files ($SIDE)"
  if line=$(run_wine b5 b5 "$(winpath "$t5")" --runs "$runs" --delay "$b5_delay") && [ -n "$line" ]; then
    stopped=$(value stopped "$line")
    largest=$(value largest_folder "$line")
    late=$(value clicked_late "$line")
    v=$(value stop_latency_ms "$line")
    figure="$v ms ($stopped of $runs runs stopped, largest folder $largest entries)"
    if [ "$stopped" = 0 ]; then v=""; figure="no run stopped ($late scans ended before the click)"; fi
    result=$(verdict "$v" "<=" "$goal_b5_ms")
    if [ "$mode" = full ]; then
      if [ "${late:-0}" != 0 ] || [ "${largest:-0}" -gt 1000 ]; then
        failures=$((failures + 1)); result="ERROR (tree too small or folders too big)"
      elif [ "$stopped" != "$runs" ]; then
        result=MISSED
      fi
    fi
    row "B5 stop click to report" "$figure" "<= $goal_b5_ms ms" "$result"
  else
    failed "B5" "$LOGS/b5-$SIDE.log"
  fi
}

# Each benchmark of both sides, one after the other, on the same trees.
for b in b1 b2 b3 b4 b5 mem m; do
  wanted "$b" || continue
  for SIDE in "${SIDES[@]}"; do "bench_$b"; done
done
SIDE=after

echo
if [ "$mode" = smoke ]; then echo "Benchmarks, smoke run (tiny trees, 1 run: figures not meaningful, no goal judged)"
else echo "Benchmarks (median of $runs runs)"; fi
{
  # The smoke run's figures say nothing about the goals: its table has no goal column.
  if [ "$mode" = smoke ]; then printf 'Benchmark\tMeasured\tResult\n'; else printf 'Benchmark\tMeasured\tGoal\tResult\n'; fi
  for r in "${rows[@]}"; do
    if [ "$mode" = smoke ]; then
      IFS=$'\t' read -r a b _ d <<<"$r"
      case "$d" in met | MISSED | -) d="ran" ;; esac
      printf '%s\t%s\t%s\n' "$a" "$b" "$d"
    else
      printf '%s\n' "$r"
    fi
  done
} | if command -v column >/dev/null; then column -t -s $'\t'; else cat; fi
echo "logs: $LOGS"

if [ "$failures" -ne 0 ]; then
  echo "$failures benchmark(s) failed" >&2
  exit 1
fi
