#!/usr/bin/env bash
# Runs every fuzz target for SECONDS on a scratch copy of its seed corpus;
# fails when any target found a crash, leak, timeout or sanitizer report.
#
#   fuzz/run.sh BUILD_DIR SECONDS [PARALLEL]
#
# PARALLEL targets run at once (default 2, the machine's cores). The scratch
# corpora, logs and any crashing inputs are under BUILD_DIR/fuzz-work/.
set -u

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS [PARALLEL]" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
seconds=$2
parallel=${3:-2}
here=$(cd "$(dirname "$0")" && pwd)
work="$build/fuzz-work"

# target:max_len (bytes): data files up to 64 KiB, pictures up to 1 MiB.
targets="fuzz_word_data:65536 fuzz_ranking:65536 fuzz_bmp:1048576 fuzz_script:65536 fuzz_play:16"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

run_one() {
  local name=$1 max_len=$2
  local bin="$build/fuzz/$name"
  local dir="$work/$name"
  rm -rf "$dir"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp "$here/corpus/$name/"* "$dir/corpus/"
  local dict=()
  [ -f "$here/$name.dict" ] && dict=("-dict=$here/$name.dict")
  local start end status
  start=$(date +%s)
  "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len="$max_len" -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "${dict[@]}" "$dir/corpus" \
    >"$dir/log" 2>&1
  status=$?
  end=$(date +%s)
  echo "$status $((end - start))" >"$dir/result"
}

if [ ! -d "$here/corpus" ]; then
  echo "no seed corpora in $here/corpus" >&2
  exit 2
fi
for entry in $targets; do
  name=${entry%%:*}
  if [ ! -x "$build/fuzz/$name" ]; then
    echo "missing $build/fuzz/$name: build with -DRAPIKO_FUZZ=ON first" >&2
    exit 2
  fi
done

mkdir -p "$work"
running=0
for entry in $targets; do
  run_one "${entry%%:*}" "${entry##*:}" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

failed=0
for entry in $targets; do
  name=${entry%%:*}
  dir="$work/$name"
  read -r status elapsed <"$dir/result"
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log" | grep -o '[0-9]*$' | tail -1)
  rss=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$dir/log" | grep -o '[0-9]*$' | tail -1)
  units=$(find "$dir/corpus" -type f | wc -l)
  # A slow unit (libFuzzer's slow-unit-*, past 10 s, as whole sessions of play can be on a
  # busy machine) is no fault; crashes, leaks, timeouts and running out of memory are.
  found=$(find "$dir/artifacts" -type f ! -name 'slow-unit-*' | wc -l)
  reports=$(grep -c -E 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$dir/log")
  verdict=ok
  if [ "$status" -ne 0 ] || [ "$found" -gt 0 ] || [ "$reports" -gt 0 ]; then
    verdict="FAILED (exit $status, $found artifact(s) in $dir/artifacts, log $dir/log)"
    failed=1
  fi
  printf '%-15s %12s executions in %5s s, corpus %5s files, peak RSS %5s MB: %s\n' \
    "$name" "${execs:-?}" "$elapsed" "$units" "${rss:-?}" "$verdict"
done
exit "$failed"
