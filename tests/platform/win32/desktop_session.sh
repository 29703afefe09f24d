# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the Windows desktop tests: an X server of their own (Xvfb) with
# openbox, DISPLAY exported, both processes added to the caller's `pids`.
# Needs the caller's `fail` function.
#   start_desktop WORK_FOLDER
start_desktop() {
  local work="$1"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
  openbox >/dev/null 2>&1 &
  pids+=($!)
  # openbox lists its clients once its start is over.
  for _ in $(seq 50); do xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)' && break; sleep 0.1; done
}
