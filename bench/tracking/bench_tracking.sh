#!/usr/bin/env bash
# CPU and memory of the real program while the pointer moves and while it rests.
#
#   bench_tracking.sh PROGRAM [RUNS]
#
# For each screen size, runs PROGRAM under a private Xvfb with xcompmgr and openbox and
# a configuration folder of its own, lets it settle, then for 10 s either moves the
# pointer in a circle through XTEST (50 relative moves a second, one turn every 2 s) or
# leaves it still. Prints the CPU time of the program and of the X server in percent of
# one core, and the program's peak resident memory (VmHWM), as the median of RUNS
# runs (3 unless given). Prints figures only; it never fails on a slow machine.
set -u
program=${1:?usage: bench_tracking.sh PROGRAM [RUNS]}
runs=${2:-3}
seconds=10

for tool in Xvfb xcompmgr openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "bench_tracking: $tool is missing" >&2; exit 1; }
done

pids=()
tmp=$(mktemp -d)
stop_all() {
  [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  pids=()
}
trap 'stop_all; rm -rf "$tmp"' EXIT
trap 'exit 143' TERM INT HUP

# CPU time of all threads of a process in nanoseconds (schedstat: the clock ticks of
# /proc/PID/stat count only 10 ms steps, too coarse for fractions of a percent).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'; }
peak_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# The xdotool command chain of one turn's relative moves around a circle of radius r,
# repeated for the whole measurement.
motion_chain() {
  awk -v r=200 -v steps=100 -v total=$((seconds * 50)) 'BEGIN {
    pi = atan2(0, -1); px = r; py = 0
    for (i = 1; i <= total; i++) {
      a = 2 * pi * (i % steps) / steps
      x = int(r * cos(a) + (cos(a) >= 0 ? 0.5 : -0.5)); y = int(r * sin(a) + (sin(a) >= 0 ? 0.5 : -0.5))
      printf "mousemove_relative -- %d %d sleep 0.02 ", x - px, y - py
      px = x; py = y
    }
  }'
}

# One measurement: prints "program% xserver% peakMB".
measure() {
  local screen=$1 mode=$2
  : >"$tmp/display"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
  local xvfb=$!
  pids+=($xvfb)
  for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$tmp/display")"
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
  xcompmgr >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.3

  local w=${screen%%x*} rest=${screen#*x}
  local h=${rest%%x*}
  xdotool mousemove $((w / 2 + 200)) $((h / 2))
  rm -rf "$tmp/config" "$tmp/runtime"
  mkdir -m 700 "$tmp/config" "$tmp/runtime"
  XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=xcb \
    "$program" >/dev/null 2>&1 &
  local app=$!
  pids+=($app)
  sleep 3

  local app0 x0 t0 t1
  app0=$(cpu_ns $app)
  x0=$(cpu_ns $xvfb)
  t0=$(date +%s.%N)
  if [ "$mode" = moving ]; then
    # shellcheck disable=SC2046
    xdotool $(motion_chain)
  else
    sleep $seconds
  fi
  t1=$(date +%s.%N)
  local app1 x1 peak
  app1=$(cpu_ns $app)
  x1=$(cpu_ns $xvfb)
  peak=$(peak_kb $app)
  kill -0 $app 2>/dev/null || echo "bench_tracking: the program ended early" >&2
  stop_all
  awk -v a=$((app1 - app0)) -v x=$((x1 - x0)) -v t0="$t0" -v t1="$t1" -v kb="$peak" \
    'BEGIN { wall = t1 - t0; printf "%.2f %.2f %.1f\n", a / 1e7 / wall, x / 1e7 / wall, kb / 1024 }'
}

printf '%-10s %-7s %12s %12s %14s\n' screen pointer "program %" "Xvfb %" "peak MB"
for screen in 1280x800x24 3840x2160x24; do
  for mode in moving still; do
    : >"$tmp/results"
    for _ in $(seq "$runs"); do
      measure "$screen" "$mode" >>"$tmp/results"
    done
    printf '%-10s %-7s %12s %12s %14s\n' "${screen%x24}" "$mode" \
      "$(cut -d' ' -f1 "$tmp/results" | median)" \
      "$(cut -d' ' -f2 "$tmp/results" | median)" \
      "$(cut -d' ' -f3 "$tmp/results" | median)"
  done
done
echo "(medians of $runs runs of ${seconds} s; CPU in percent of one core)"
