# SPDX-License-Identifier: GPL-3.0-or-later
# Input scripts for whole-viewer figures, sourced by bench/run.sh. Each
# function prints a script for `lumen --headless 1024x768 --script`; the
# coordinates are client coordinates of that screen size. A figure is the
# time of a prefix plus N actions minus the time of the prefix alone, so
# start-up, the prefix and the exit cancel out.

# The session starts on an event of VTCH; one row down is SVISO, the
# largest row of the demo day (220 events), its 41st event selected.
script_largest_row() { echo "key Down"; }

# A click at the left end of that row's time axis selects its first event;
# one at the right end its last but one.
script_largest_row_start() { echo "click 98 162"; }
script_largest_row_end() { printf 'click 920 162\nkey Right\n'; }

# N presses of one button (`button 1003` is "next event").
script_repeat() {
  local count="$1"
  shift
  for _ in $(seq 1 "$count"); do echo "$*"; done
}

# N row changes bouncing between the first and the last row, every one a
# real change (the cursor stops at the ends).
script_row_changes() {
  local count="$1" row=4 step=-1
  for _ in $(seq 1 "$count"); do
    if [ "$row" -eq 0 ]; then step=1; fi
    if [ "$row" -eq 18 ]; then step=-1; fi
    row=$((row + step))
    if [ "$step" -lt 0 ]; then echo "key Up"; else echo "key Down"; fi
  done
}

# N clicks into the event rows, spread over every row and the time axis.
script_row_clicks() {
  local count="$1"
  for i in $(seq 0 $((count - 1))); do
    echo "click $((100 + (i * 97) % 800)) $((43 + 23 * (i % 18)))"
  done
}

# N beat relabels, alternately ventricular and normal.
script_relabels() {
  local count="$1"
  for i in $(seq 1 "$count"); do
    if [ $((i % 2)) -eq 1 ]; then echo "key V"; else echo "key N"; fi
  done
}

# A caliper pressed on the strip, N drag steps back and forth, released.
script_caliper_drag() {
  local count="$1" x=310 step=7
  echo "press 305 600"
  for _ in $(seq 1 "$count"); do
    x=$((x + step))
    if [ "$x" -ge 900 ] || [ "$x" -le 310 ]; then step=$((-step)); fi
    echo "move $x 600"
  done
  echo "release $x 600"
}

# N printed reports, each confirmed.
script_reports() {
  local count="$1"
  for _ in $(seq 1 "$count"); do
    echo "button 1007"
    echo "answer yes"
  done
}

# Auto-step for N events (one step every 100 ms of the virtual clock).
script_auto_step() {
  echo "button 1000"
  echo "wait $(($1 * 100))"
}

# A whole working session: every kind of action, the auto-step through the
# largest row and printed reports included.
script_whole_session() {
  script_row_clicks 100
  script_row_changes 100
  script_largest_row_start
  script_auto_step 220
  script_repeat 20 button 2012
  script_repeat 20 button 2011
  script_relabels 50
  script_caliper_drag 200
  script_reports 3
  script_repeat 100 button 1002
}
