#!/usr/bin/env bash
# Runs the benchmarks and prints one table with every figure, its goal and met / MISSED:
#   B1  the folder walk natively against GNU find (qorvani_bench b1)
#   B2  a scan in the real window against a bare Win32 walk (qorvani_winbench under Wine)
#   B3  select-all / select-none on a big result list, memory per row
#   B4  deleting checked files for good and to the Recycle Bin against bare shell calls
#   B5  from a real stop click to the report
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
#   BENCH_RUNS (5)            BENCH_ONLY (e.g. "b2 b5": run only these)
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

# The trees' shapes, by name: the generator's seed, folders, files, matching files and sparse files.
declare -A B1 B2 B3 B5
if [ "$mode" = smoke ]; then
  runs=1
  B1=([seed]=1 [folders]=20 [files]=400 [matches]=40 [sparse]=1)
  B2=([seed]=2 [folders]=20 [files]=300 [matches]=30 [sparse]=1)
  B3=([seed]=3 [folders]=10 [files]=200 [matches]=200 [sparse]=0)
  B5=([seed]=5 [folders]=200 [files]=2000 [matches]=200 [sparse]=0)  # big enough for the stop click to land while the walk runs
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

failures=0
rows=()
row() { rows+=("$(printf '%s\t%s\t%s\t%s' "$1" "$2" "$3" "$4")"); }
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
  echo "$1 failed; its log:" >&2
  tail -n 20 "$2" >&2 || true
}

# run_wine NAME ARGS...: runs qorvani_winbench, prints its result line (the line tagged NAME).
run_wine() {
  local name="$1"; shift
  local logfile="$LOGS/$name.log"
  local out
  if out=$(cd "$WINBUILD" && wine_run "$t_wine" "$WINE" ./qorvani_winbench.exe "$@" 2>"$logfile" | tr -d '\r'); then
    printf '%s\n' "$out" >>"$logfile"
    grep "^${name^^} " <<<"$out" || true
  else
    printf '%s\n' "$out" >>"$logfile"
    return 1
  fi
}

# --- B1, natively ---
if wanted b1; then
  t1=$(tree B1)
  log "B1 on ${B1[files]} files"
  if out=$(timeout "$t_native" "$BUILD/native/qorvani_bench" b1 "$t1" --runs "$runs" 2>"$LOGS/b1.log"); then
    printf '%s\n' "$out" >>"$LOGS/b1.log"
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
    failed "B1" "$LOGS/b1.log"
  fi
fi

need_wine=0
for b in b2 b3 b4 b5; do wanted $b && need_wine=1; done
if [ "$need_wine" = 1 ]; then
  trap 'end_wine; stop_xvfb' EXIT
  start_xvfb
  use_wine "$KIND"
  use_trash bench --empty
fi

# --- B2: a scan in the window against the bare walk ---
if wanted b2; then
  t2=$(tree B2)
  log "B2 on ${B2[files]} files, ${B2[matches]} matches"
  if line=$(run_wine b2 b2 "$(winpath "$t2")" --runs "$runs") && [ -n "$line" ]; then
    ratio=$(value ratio "$line")
    row "B2 window scan / bare walk" \
      "window $(value gui_scan_ms "$line") ms, bare $(value bare_walk_ms "$line") ms: $ratio ($(value rows "$line") rows)" \
      "<= $goal_b2" "$(verdict "$ratio" "<=" "$goal_b2")"
    rate=$(value repaints_per_s "$line")
    row "B2 list+status repaints" "$rate per s ($(value repaints "$line") in the scan)" ">= $goal_b2_repaints/s" \
      "$(verdict "$rate" ">=" "$goal_b2_repaints")"
  else
    failed "B2" "$LOGS/b2.log"
  fi
fi

# --- B3: big list ---
if wanted b3; then
  t3=$(tree B3)
  log "B3 on ${B3[files]} rows"
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
    failed "B3" "$LOGS/b3.log"
  fi
fi

# --- B4: delete ---
if wanted b4; then
  work="$BENCH/b4-work"
  rm -rf "$work"
  # A Recycle Bin of B4's own, empty at the start (common.sh: use_trash).
  use_trash bench-b4 --empty
  log "B4 with $b4_files files per run"
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
    failed "B4" "$LOGS/b4.log"
  fi
  rm -rf "$work" "$WINE_DATA_HOME/Trash"
  use_trash bench
fi

# --- B5: stop latency ---
if wanted b5; then
  t5=$(tree B5)
  log "B5 on ${B5[files]} files"
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
    failed "B5" "$LOGS/b5.log"
  fi
fi

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
