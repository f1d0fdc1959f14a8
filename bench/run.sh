#!/usr/bin/env bash
# Runs the benchmarks of a build folder and prints their figures beside their
# targets. Where the machine's speed decides a figure, the target is a ratio
# to the yardstick measured in the same run (bench/bench_reference.cpp), so a
# slower or busier machine moves both. A missed target is reported, never an
# error: the exit status is 1 only when a benchmark could not measure at all
# (it stopped with an error or gave no figure). Further arguments go to the
# benchmark program (for example --benchmark_filter=PlayPass).
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

echo "bench/run.sh: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
"$bench_bin" --benchmark_out="$work/bench.json" --benchmark_out_format=json "$@"
"$memory_bin" >"$work/memory.txt"

# The median wall time of a benchmark in microseconds; "failed" when it
# stopped with an error, "absent" when it did not run (a filter left it out).
# The JSON output has one member per line, which is all this reads.
median() {
  awk -v want="$1" '
    /"name":/ { n = $0; sub(/^[^:]*: *"/, "", n); sub(/".*$/, "", n) }
    /"error_occurred": *true/ && index(n, want "/") == 1 { failed = 1 }
    /"real_time":/ { t = $0; sub(/^[^:]*: */, "", t); sub(/,.*$/, "", t) }
    /"time_unit":/ && index(n, want "/") == 1 && n ~ /_median$/ {
      u = $0; sub(/^[^:]*: *"/, "", u); sub(/".*$/, "", u)
      scale["ns"] = 1e-3; scale["us"] = 1; scale["ms"] = 1e3; scale["s"] = 1e6
      figure = sprintf("%.3f", t * scale[u])
    }
    END { print failed ? "failed" : figure == "" ? "absent" : figure }' "$work/bench.json"
}
in_ms() { awk -v v="$1" 'BEGIN { print v ~ /^[0-9.]+$/ ? v / 1000 : v }'; }

peak_mb=$(awk '$1 == "vmhwm_kb" && $2 > 0 { printf "%.1f", $2 / 1024; f = 1 }
               END { if (!f) print "n/a" }' "$work/memory.txt")
round_passes=$(awk '$1 == "passes" { print $2 }' "$work/memory.txt")
reference=$(median BM_Reference)

broken=0
# label, figure, unit, target, and the yardstick when the target is a ratio.
row() {
  local label=$1 figure=$2 unit=$3 target=$4 per=${5:-} shown status
  if [[ $figure == absent ]]; then
    return
  elif [[ $per == absent ]]; then
    printf '%-46s %20s  %-10s  %s\n' "$label" "$figure $unit" "" "no yardstick: run BM_Reference too"
    return
  elif [[ $figure == failed || $figure == n/a || $per == failed ]]; then
    printf '%-46s %20s  %-10s  %s\n' "$label" "-" "" "NO FIGURE (the benchmark failed)"
    broken=1
    return
  fi
  if [[ -n $per ]]; then
    shown=$(awk -v v="$figure" -v r="$per" -v u="$unit" \
      'BEGIN { printf "%.1f %s = %.2fx", v, u, v / r }')
    figure=$(awk -v v="$figure" -v r="$per" 'BEGIN { print v / r }')
    unit=x
  else
    shown=$(awk -v v="$figure" -v u="$unit" 'BEGIN { printf "%.1f %s", v, u }')
  fi
  status=$(awk -v v="$figure" -v t="$target" 'BEGIN { print v <= t ? "ok" : "above target" }')
  printf '%-46s %20s  <= %5s %-3s  %s\n' "$label" "$shown" "$target" "$unit" "$status"
}

echo
printf '%-46s %20s  %-10s  %s\n' "figure (median)" "measured" "target" "status"
printf '%-46s %20s\n' "yardstick: a 640x480 frame through a palette" \
  "$(awk -v v="$reference" 'BEGIN { if (v ~ /^[0-9.]+$/) printf "%.1f us", v; else print v }')"
row "one play pass, full field" "$(median BM_PlayPass)" us 0.75 "$reference"
row "one title pass, ranking filled" "$(median BM_TitlePass)" us 0.5 "$reference"
# 1024 x 768 (1.6x) and 1920 x 1080 (2.25x) mix neighbouring pixels; 1280 x
# 960 (2x) is a whole multiple.
for size in 1024/768 1920/1080 1280/960; do
  row "present a whole frame at ${size/\//x}" "$(median "BM_Present/$size")" us 6.0 "$reference"
done
row "steering: exact atan, cos and sin" "$(median BM_Steering)" us 0.03 "$reference"
row "whole 120 s round at 16 ms passes" "$(in_ms "$(median BM_WholeRound)")" ms 1000
row "server: verify a sent round (no drawing)" "$(in_ms "$(median BM_VerifyRound)")" ms 20
row "start-up to the first flipped frame" "$(in_ms "$(median BM_StartUpToFirstFrame)")" ms 100
row "statistics of a 100,000-round history" "$(in_ms "$(median BM_ReadHistory100k)")" ms 200
row "peak RSS of a round (${round_passes:-?} passes)" "$peak_mb" MB 50
exit "$broken"
