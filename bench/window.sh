#!/usr/bin/env bash
# Measures the game's real window under Xvfb beside the floor program
# (bench/sdl_floor.cpp), in the same run, at several screen sizes.
#
#   bench/window.sh BUILD_DIR [--runs N] [--seconds S] [--sizes "WxH ..."]
#                             [--game BINARY] [--shots DIR] [--raw FILE]
#                             [--wm PROGRAM] [--presses N] [--latency-sizes "WxH ..."]
#
# For each run and size it starts one Xvfb screen of that size (with --wm, a
# window manager such as icewm on it, as on a player's desktop: without one
# SDL waits up to 100 ms for a full-screen request that nobody answers), then
# in turn the floor program and the game, each full screen, with the frame
# counter (bench/present_counter.cpp) loaded in front of SDL. Measured:
#   - CPU: the time on a processor of all the process's threads
#     (/proc/PID/task/*/schedstat), over S seconds after 2 s of settling;
#     the game on its title screen, then in play (after Space, typed by
#     xdotool with the pointer in the window; the letters fall untyped);
#   - frames presented per second, from the counter (in play every frame
#     differs from the last, so every pass presents);
#   - CPU per presented frame: CPU time / frames presented in the same span;
#   - the X server's CPU over the same span, per presented frame (work
#     handed to the server is not free);
#   - peak memory: VmHWM of the process after play;
#   - first picture: from the exec of the process to the return of its first
#     present;
#   - how busy the rest of the machine was meanwhile, in cores (from
#     /proc/stat, less the measured process and the X server);
#   - key to picture (at the --latency-sizes, 1024 x 768 unless told): the
#     probe (bench/key_latency.cpp) presses a key through XTest and reads a
#     small region of the screen until it changes, N times per run (30
#     unless told), at random moments; against the floor program in its key
#     mode (a new colour presented at once on each press), against the game
#     in play (the key 1, a wrong key: the level on the status box drops at
#     once; a new game every three presses, as the level stops at 0) and on
#     the title screen (Tab: the statistics screen, which by the game's rules
#     comes one pass after the pass that reads the key).
# Medians over the runs are printed with the targets, as ratios to the floor
# where the machine matters. A missed target is reported, never an error:
# the exit status is 0 unless something could not be measured.
set -euo pipefail

usage() {
  sed -n '5,7p' "$0" | sed 's/^# *//' >&2
  exit 2
}

build=${1:-}
[[ -n $build && $build != -* ]] || usage
shift
runs=3
seconds=8
sizes="640x480 1024x768 1920x1080"
game="$build/src/rapiko"
shots=""
raw=""
wm=""
presses=30
latency_sizes="1024x768"
while (($#)); do
  case $1 in
    --runs) runs=${2:?}; shift 2 ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --sizes) sizes=${2:?}; shift 2 ;;
    --game) game=${2:?}; shift 2 ;;
    --shots) shots=${2:?}; shift 2 ;;
    --raw) raw=${2:?}; shift 2 ;;
    --wm) wm=${2:?}; shift 2 ;;
    --presses) presses=${2:?}; shift 2 ;;
    --latency-sizes) latency_sizes=${2:?}; shift 2 ;;
    *) usage ;;
  esac
done
floor="$build/bench/rapiko_sdl_floor"
counter_lib="$build/bench/librapiko_present_counter.so"
probe="$build/bench/rapiko_key_latency"
for f in "$floor" "$counter_lib" "$game" "$probe"; do
  [[ -e $f ]] || { echo "bench/window.sh: $f is not built (make bench builds it)" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "bench/window.sh: $tool is missing" >&2; exit 2; }
done
counter_lib=$(realpath "$counter_lib")
game_dir=$(dirname "$(realpath "$game")")

work=$(mktemp -d)
: >"$work/latency"
xvfb_pid=""
wm_pid=""
app_pid=""
stop() {  # pid: TERM, then KILL after 3 s
  local pid=$1 i
  kill -TERM "$pid" 2>/dev/null || return 0
  for i in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
cleanup() {
  [[ -n $app_pid ]] && stop "$app_pid"
  [[ -n $wm_pid ]] && stop "$wm_pid"
  [[ -n $xvfb_pid ]] && stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

clk_tck=$(getconf CLK_TCK)
now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }

# Nanoseconds on a processor, all threads of a process together.
cpu_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'
}
# Jiffies the whole machine spent busy.
machine_busy() {
  awk '$1 == "cpu" { print $2 + $3 + $4 + $7 + $8 + $9; exit }' /proc/stat
}
vmhwm_kb() { awk '$1 == "VmHWM:" { print $2 }' /proc/"$1"/status; }
# The counter file: frames presented, first present (us since the epoch).
read_counter() { od -An -v -w16 -t d8 -N16 "$1" | awk '{ printf "%s %s\n", $1, $2 }'; }

start_xvfb() {  # WxH: sets xvfb_pid and DISPLAY
  local fifo="$work/displayfd"
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  if ! read -r -t 15 number <"$fifo"; then
    echo "bench/window.sh: Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$number"
  if [[ -n $wm ]]; then
    $wm >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1.5  # until it manages the screen
  fi
}

# Starts a program with the frame counter; sets app_pid, app_t0 and app_counter.
launch() {
  app_counter="$work/counter.$RANDOM"
  : >"$app_counter"
  app_t0=$(now_us)
  RAPIKO_PRESENT_COUNTER="$app_counter" LD_PRELOAD="$counter_lib" SDL_AUDIODRIVER=dummy \
    "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  local i frames first
  for i in $(seq 150); do
    read -r frames first < <(read_counter "$app_counter") || true
    if [[ ${frames:-0} -gt 0 ]]; then
      app_first_ms=$(( (first - app_t0) / 1000 ))
      return 0
    fi
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "bench/window.sh: $1 showed no frame; its output:" >&2
  cat "$work/app.log" >&2
  exit 1
}

# Measures the running program for $seconds and appends one row.
measure() {  # size what phase
  local c0 x0 b0 f0 t0 c1 x1 b1 f1 t1 first
  c0=$(cpu_ns "$app_pid"); x0=$(cpu_ns "$xvfb_pid"); b0=$(machine_busy)
  read -r f0 first < <(read_counter "$app_counter"); t0=$(now_us)
  sleep "$seconds"
  c1=$(cpu_ns "$app_pid"); x1=$(cpu_ns "$xvfb_pid"); b1=$(machine_busy)
  read -r f1 first < <(read_counter "$app_counter"); t1=$(now_us)
  awk -v run="$run" -v size="$1" -v what="$2" -v phase="$3" -v c="$((c1 - c0))" \
    -v x="$((x1 - x0))" -v b="$((b1 - b0))" -v f="$((f1 - f0))" -v t="$((t1 - t0))" \
    -v tck="$clk_tck" -v first="$app_first_ms" 'BEGIN {
      wall_ns = t * 1000
      others = (b * 1e9 / tck - c - x) / wall_ns
      if (others < 0) others = 0
      printf "%s %s %s %s %.4f %.3f %.4f %.4f %d %.3f\n", run, size, what, phase,
        c / wall_ns, f * 1e6 / t, f ? c / f / 1e6 : -1, f ? x / f / 1e6 : -1, first, others
    }' >>"$work/rows"
}
add_memory() {  # size what: VmHWM in KiB of the running program
  echo "$run $1 $2 $(vmhwm_kb "$app_pid")" >>"$work/memory"
}
# A region of the 640 x 480 picture (x y w h) where the game shows it full
# screen on a screen of w x h (as large as fits, in its own shape, centred):
# X,Y,W,H for the probe.
screen_region() {  # screen_w screen_h x y w h
  awk -v sw="$1" -v sh="$2" -v x="$3" -v y="$4" -v w="$5" -v h="$6" 'BEGIN {
    s = sw / 640; if (sh / 480 < s) s = sh / 480
    ox = int((sw - int(640 * s)) / 2); oy = int((sh - int(480 * s)) / 2)
    printf "%d,%d,%d,%d\n", ox + x * s + 1, oy + y * s + 1, w * s - 2, h * s - 2
  }'
}
# Key to picture: N presses of a key, each time to the region's change.
latency() {  # size what key region presses
  "$probe" --key "$3" --region "$4" --presses "$5" | while read -r ms; do
    echo "$run $1 $2 $ms" >>"$work/latency"
  done
}
measure_latency() {  # size
  local w=${1%x*} h=${1#*x} i
  launch "$floor" --keys
  sleep 1
  latency "$1" floor-key Tab "$((w / 2 - 40)),$((h / 2 - 30)),80,60" "$presses"
  stop "$app_pid"; app_pid=""
  # Tab on the title: the statistics screen's heading bar replaces the sky.
  new_game_folder
  launch "$game" --dir "$folder"
  xdotool mousemove $((w / 2)) $((h / 2))
  sleep 1.5
  latency "$1" game-title Tab "$(screen_region "$w" "$h" 20 10 100 20)" "$presses"
  stop "$app_pid"; app_pid=""
  # A wrong key in play: "LV 3/3" becomes "LV 2/3" (the status box's first
  # line, which no letter reaches).
  for ((i = 0; i < presses; i += 3)); do
    new_game_folder
    launch "$game" --dir "$folder"
    xdotool mousemove $((w / 2)) $((h / 2))
    sleep 1
    xdotool key space
    sleep 0.7
    latency "$1" game-play 1 "$(screen_region "$w" "$h" 4 4 56 16)" "$((presses - i < 3 ? presses - i : 3))"
    stop "$app_pid"; app_pid=""
  done
}
new_game_folder() {
  folder="$work/game"
  rm -rf "$folder"; mkdir -p "$folder"
  cp "$game_dir/back.bmp" "$game_dir/rapdata.ini" "$folder/"
}

shot() {
  [[ -n $shots && $run == 1 ]] || return 0
  mkdir -p "$shots"
  import -display "$DISPLAY" -window root "$shots/$1.png"
}

echo "bench/window.sh: $runs run(s) of ${seconds} s per figure at $sizes${wm:+ under $wm}; load average $(cut -d' ' -f1-3 /proc/loadavg)" >&2
for run in $(seq "$runs"); do
  for size in $sizes; do
    start_xvfb "$size"
    w=${size%x*}
    h=${size#*x}

    launch "$floor"
    sleep 2
    measure "$size" floor play
    add_memory "$size" floor
    stop "$app_pid"; app_pid=""

    new_game_folder
    launch "$game" --dir "$folder"
    xdotool mousemove $((w / 2)) $((h / 2))
    sleep 2
    measure "$size" game title
    shot "game-$size-title"
    xdotool key space
    sleep 2
    measure "$size" game play
    shot "game-$size-play"
    add_memory "$size" game
    # A click ends the game as a player would end it.
    xdotool click 1
    for i in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    stop "$app_pid"; app_pid=""

    if [[ " $latency_sizes " == *" $size "* ]]; then measure_latency "$size"; fi

    [[ -n $wm_pid ]] && { stop "$wm_pid"; wm_pid=""; }
    stop "$xvfb_pid"; xvfb_pid=""
    echo "bench/window.sh: run $run at $size done" >&2
  done
done

# Every run's figures, for whoever wants more than the medians.
if [[ -n $raw ]]; then
  {
    echo "# run screen program phase cpu_share fps cpu_ms_per_frame xserver_ms_per_frame first_picture_ms others_busy_cores"
    cat "$work/rows"
    echo "# run screen program vmhwm_kb"
    cat "$work/memory"
    echo "# run screen program key_to_picture_ms"
    cat "$work/latency" 2>/dev/null || true
  } >"$raw"
fi

# Medians over the runs, then the targets.
awk -v runs="$runs" '
  function median(key,   n, i, j, t, v) {
    n = count[key]
    for (i = 1; i <= n; ++i) v[i] = values[key, i]
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  function add(key, value) { values[key, ++count[key]] = value }
  FILENAME ~ /rows$/ {
    k = $2 " " $3 " " $4
    if (!(k in seen)) { seen[k] = 1; order[++rows] = k }
    add(k " share", $5); add(k " fps", $6); add(k " perframe", $7); add(k " xperframe", $8)
    add(k " first", $9); add(k " others", $10)
    if ($3 == "floor") { floor_share[$1, $2] = $5; floor_frame[$1, $2] = $7 }
    else if ($4 == "play") { add($2 " playratio", $7 / floor_frame[$1, $2]) }
    else { add($2 " titleratio", $5 / floor_share[$1, $2]) }
    if (!($2 in sizeseen)) { sizeseen[$2] = 1; sizes[++nsizes] = $2 }
    next
  }
  FILENAME ~ /memory$/ { add($2 " " $3 " memory", $4 / 1024); next }
  # Key to picture: every press of every run together.
  {
    k = $2 " " $3
    if (!(k in lseen)) { lseen[k] = 1; lorder[++lrows] = k }
    if ($4 == "timeout") { ++timeouts[k]; next }
    add(k " latency", $4)
  }
  END {
    printf "\nmedians of %d run(s)\n", runs
    printf "%-10s %-12s %13s %9s %9s %13s %10s %9s %13s\n", "screen", "program", "CPU/frame",
      "CPU", "frames/s", "X srv/frame", "VmHWM", "1st pic", "others busy"
    for (r = 1; r <= rows; ++r) {
      k = order[r]; split(k, p, " ")
      printf "%-10s %-12s %10.3f ms %7.1f %% %9.1f %10.3f ms %6.1f MiB %6d ms %8.2f cores\n",
        p[1], p[2] " " p[3], median(k " perframe"), 100 * median(k " share"), median(k " fps"),
        median(k " xperframe"), median(p[1] " " p[2] " memory"), median(k " first"),
        median(k " others")
    }
    if (lrows) {
      printf "\nkey to picture, all presses of all runs\n"
      printf "%-10s %-12s %8s %10s %10s %10s %10s\n", "screen", "program", "presses", "median",
        "p90", "fastest", "timeouts"
      for (r = 1; r <= lrows; ++r) {
        k = lorder[r]; split(k, p, " ")
        printf "%-10s %-12s %8d %7.2f ms %7.2f ms %7.2f ms %10d\n", p[1], p[2], count[k " latency"],
          median(k " latency"), quantile(k " latency", 0.9), quantile(k " latency", 0),
          timeouts[k]
      }
    }
    printf "\n%-10s %-48s %9s %14s  %s\n", "screen", "figure (median)", "measured", "target", "status"
    for (s = 1; s <= nsizes; ++s) {
      z = sizes[s]
      row(z, "play: CPU per presented frame / the floor", median(z " playratio"), "x", 0.3, "<=")
      row(z, "title: CPU per second / the floor", median(z " titleratio"), "x", 0.15, "<=")
      row(z, "peak memory (VmHWM)", median(z " game memory"), "MiB", 25, "<=")
      row(z, "start to first picture", median(z " game play first"), "ms", 250, "<=")
      row(z, "frames presented per second in play", median(z " game play fps"), "", 60, "~")
      f = z " floor-key latency"
      if (!count[f]) continue
      for (i = 1; i <= 2; ++i) {
        what = i == 1 ? "game-play" : "game-title"
        label = i == 1 ? "wrong key in play" : "Tab on the title"
        g = z " " what " latency"
        if (!count[g]) continue
        row(z, "key to picture, " label ": median - floor", median(g) - median(f), "ms", 8, "<=")
        row(z, "key to picture, " label ": p90 - floor", quantile(g, 0.9) - quantile(f, 0.9),
            "ms", 17, "<=")
      }
    }
  }
  # The nearest-rank quantile q (0: the least).
  function quantile(key, q,   n, i, j, t, v, at) {
    n = count[key]
    if (!n) return -1
    for (i = 1; i <= n; ++i) v[i] = values[key, i]
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    at = int(q * n + 0.999999); if (at < 1) at = 1
    return v[at]
  }
  function row(z, label, v, unit, target, how,   ok) {
    ok = how == "<=" ? v <= target : (v >= target - 1 && v <= target + 1)
    printf "%-10s %-48s %9.2f %-3s %2s %6s %-3s  %s\n", z, label, v, unit, how, target, unit,
      ok ? "ok" : "missed"
  }
' "$work/rows" "$work/memory" "$work/latency"
echo "bench/window.sh: load average at the end $(cut -d' ' -f1-3 /proc/loadavg)" >&2
