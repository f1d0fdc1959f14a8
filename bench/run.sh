#!/usr/bin/env bash
# Runs the benchmarks of a build folder and prints their figures against the
# targets. Exits 1 when a figure misses its target. Further arguments go to
# the benchmark program (for example --benchmark_filter=PlayPass).
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR [benchmark options]}
shift
bench_bin="$build/bench/rapiko_bench"
memory_bin="$build/bench/rapiko_bench_memory"
for bin in "$bench_bin" "$memory_bin"; do
  if [[ ! -x $bin ]]; then
    echo "bench/run.sh: $bin is not built (configure with -DRAPIKO_BENCH=ON)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench_bin" --benchmark_out="$work/bench.json" --benchmark_out_format=json "$@"
"$memory_bin" >"$work/memory.txt"

# The median wall time of a benchmark in us or ms, or n/a. The JSON output
# has one member per line, which is all this reads.
median() {
  awk -v want="$1" -v unit="$2" '
    /"name":/ { n = $0; sub(/^[^:]*: *"/, "", n); sub(/".*$/, "", n) }
    /"error_occurred": *true/ && index(n, want "/") == 1 { failed = 1 }
    /"real_time":/ { t = $0; sub(/^[^:]*: */, "", t); sub(/,.*$/, "", t) }
    /"time_unit":/ && index(n, want "/") == 1 && n ~ /_median$/ {
      u = $0; sub(/^[^:]*: *"/, "", u); sub(/".*$/, "", u)
      scale["ns"] = 1e-3; scale["us"] = 1; scale["ms"] = 1e3; scale["s"] = 1e6
      v = t * scale[u]
      if (unit == "ms") v /= 1e3
      figure = sprintf("%.1f", v)
    }
    END { print (figure == "" || failed) ? "n/a" : figure }' "$work/bench.json"
}

peak_mb=$(awk '$1 == "vmhwm_kb" && $2 > 0 { printf "%.1f", $2 / 1024; f = 1 }
               END { if (!f) print "n/a" }' "$work/memory.txt")
round_passes=$(awk '$1 == "passes" { print $2 }' "$work/memory.txt")

missed=0
row() {  # label figure unit target
  local status
  if [[ $2 == n/a ]]; then
    status="no figure"
    missed=1
  elif awk -v v="$2" -v t="$4" 'BEGIN { exit !(v < t) }'; then
    status="ok"
  else
    status="MISSED"
    missed=1
  fi
  printf '%-40s %10s %-3s  < %5s %-3s  %s\n' "$1" "$2" "$3" "$4" "$3" "$status"
}

echo
printf '%-40s %14s  %10s  %s\n' "figure (median)" "measured" "target" "status"
row "one play pass, full field" "$(median BM_PlayPass us)" us 100
row "one title pass, ranking filled" "$(median BM_TitlePass us)" us 100
row "whole 120 s round at 16 ms passes" "$(median BM_WholeRound ms)" ms 1000
row "start-up to the first flipped frame" "$(median BM_StartUpToFirstFrame ms)" ms 100
row "peak RSS of a round (${round_passes:-?} passes)" "$peak_mb" MB 50
exit "$missed"
