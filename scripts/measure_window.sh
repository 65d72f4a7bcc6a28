#!/usr/bin/env bash
# Measures the real window under Xvfb, as the program itself reports it with
# QUILLORY_TIMINGS=1, and prints the median of RUNS runs (10 by default) of:
# process start to the window shown and to the welcome page painted; Enter in
# the search box to a character page (中) and to an English search ("to")
# painted; a click on the speaker beside zhōng to its sound started; Enter on
# a tree item to the largest syllable page (Pinyin yi) and to the largest
# radical page (85, 水) painted.
# Needs xvfb, xdotool and pulseaudio (scripts/setup.sh BUILD --test installs
# them); the sound goes to a null output of a sound server of its own.
# Usage: scripts/measure_window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-10}
program=$build/quillory
work=$(mktemp -d)
xvfb_pid=
sound_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$sound_pid" ] && kill "$sound_pid" 2>/dev/null
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

sound_socket=$XDG_RUNTIME_DIR/sound
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  -L module-null-sink -L "module-native-protocol-unix socket=$sound_socket auth-anonymous=1" \
  >/dev/null 2>&1 &
sound_pid=$!
for _ in $(seq 100); do [ -S "$sound_socket" ] && break; sleep 0.05; done
export PULSE_SERVER=unix:$sound_socket

log=$work/timings.log
# Waits for the first line of EVENT in the log, which each step empties
# first (the program appends to it), and prints its milliseconds; "-" when
# none came within 15 s, which the medians leave out.
await() {
  local event=$1
  for _ in $(seq 300); do
    if grep -q "^timing: $event " "$log"; then
      grep "^timing: $event " "$log" | head -1 | awk '{print $3}'
      return
    fi
    sleep 0.05
  done
  echo "no $event within 15 s" >&2
  echo -
}
# Clicks into the search box, types TEXT over what it holds and presses Enter.
search() {
  xdotool mousemove --window "$1" 150 68 click 1
  sleep 0.2
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 20 "$2"
  sleep 0.3
  xdotool key Return
}
# In the tree, which a click beside its items focuses: finds the top item
# starting with TOP and, for each STEP, opens the current item and goes to
# its STEP-th child (+N) or to the child starting with STEP; then presses
# Enter on the item reached.
open_tree_item() {
  local window=$1 top=$2
  shift 2
  xdotool mousemove --window "$window" 100 500 click 1
  sleep 0.3
  xdotool key Home
  sleep 0.5
  xdotool type "$top"
  sleep 0.6
  for step in "$@"; do
    xdotool key Right Down
    sleep 0.3
    if [ "${step#+}" != "$step" ]; then
      xdotool key --repeat "$((${step#+} - 1))" --delay 5 Down
    else
      xdotool type "$step"
    fi
    sleep 0.6
  done
  xdotool key Return
}

one_run() {
  : >"$log"
  "$program" 2>>"$log" &
  program_pid=$!
  echo "window-shown $(await window-shown)"
  echo "welcome-painted $(await welcome-painted)"
  local window
  window=$(xdotool search --sync --onlyvisible --pid "$program_pid" | head -1)
  xdotool windowfocus --sync "$window"
  sleep 0.5
  : >"$log"
  search "$window" 中
  echo "character-page $(await page-painted)"
  sleep 0.5
  : >"$log"
  # The speaker beside zhōng, where a new window of the default size shows it.
  xdotool mousemove --window "$window" 393 148 click 1
  echo "speaker-click $(await sound-started)"
  sleep 0.5
  : >"$log"
  search "$window" to
  echo "english-search $(await page-painted)"
  sleep 0.5
  : >"$log"
  open_tree_item "$window" p y yi
  echo "syllable-page-yi $(await page-painted)"
  sleep 0.5
  : >"$log"
  open_tree_item "$window" ra +85
  echo "radical-page-water $(await page-painted)"
  "$program" --quit >/dev/null
  wait "$program_pid" || true
  program_pid=
}

one_run >/dev/null  # the first start chooses the fonts and warms the caches
for _ in $(seq "$runs"); do one_run; done >"$work/all.txt"

median() {
  sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
printf '%-20s %s\n' event "median ms ($runs runs)"
for event in window-shown welcome-painted character-page speaker-click english-search syllable-page-yi \
  radical-page-water; do
  printf '%-20s %s\n' "$event" "$(grep "^$event [0-9]" "$work/all.txt" | awk '{print $2}' | median)"
done
