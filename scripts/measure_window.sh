#!/usr/bin/env bash
# Measures the real window under Xvfb, as the program itself reports it with
# QUILLORY_TIMINGS=1, and prints the median of RUNS runs (10 by default) of:
# process start to the window shown and to the welcome page painted, and
# Enter in the search box to a character page and to an English search painted.
# Needs xvfb and xdotool (scripts/setup.sh BUILD --test installs them).
# Usage: scripts/measure_window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-10}
program=$build/quillory
work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

display=99
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# A user of its own, so that every run starts alike (the first start's font
# choice is made once, before the runs).
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export XDG_RUNTIME_DIR=$work/home/run QTWEBENGINE_DISABLE_SANDBOX=1 QUILLORY_TIMINGS=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

log=$work/timings.log
# Waits until the log holds COUNT lines of EVENT; prints the last one's milliseconds.
await() {
  local event=$1 count=$2
  for _ in $(seq 300); do
    if [ "$(grep -c "^timing: $event " "$log")" -ge "$count" ]; then
      grep "^timing: $event " "$log" | sed -n "${count}p" | awk '{print $3}'
      return
    fi
    sleep 0.05
  done
  echo "no $event within 15 s" >&2
  exit 1
}
# Types TEXT into the search box (which has the focus) and presses Enter.
search() {
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 20 "$1"
  sleep 0.3
  xdotool key Return
}

one_run() {
  : >"$log"
  "$program" 2>"$log" &
  program_pid=$!
  echo "window-shown $(await window-shown 1)"
  echo "welcome-painted $(await welcome-painted 1)"
  local window
  window=$(xdotool search --sync --onlyvisible --pid "$program_pid" | head -1)
  xdotool windowfocus --sync "$window"
  sleep 0.5
  search 中
  echo "character-page $(await page-painted 1)"
  search to
  echo "english-search $(await page-painted 2)"
  "$program" --quit >/dev/null
  wait "$program_pid" || true
  program_pid=
}

one_run >/dev/null  # the first start chooses the fonts and warms the caches
for _ in $(seq "$runs"); do one_run; done >"$work/all.txt"

median() {
  sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
printf '%-18s %s\n' event "median ms ($runs runs)"
for event in window-shown welcome-painted character-page english-search; do
  printf '%-18s %s\n' "$event" "$(grep "^$event " "$work/all.txt" | awk '{print $2}' | median)"
done
