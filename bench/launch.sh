#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Launch time beside EDFbrowser, side by side in one run on one X display
# (Xvfb 1024x768 with openbox, as on a desktop): Lumen from its start to
# the first complete frame in its window, EDFbrowser from its start to its
# visible window, both on the same 24-hour two-channel signal (the demo
# recording, written as EDF for the peer). Median of RUNS pairs; target:
# Lumen <= 0.9 x EDFbrowser. EDFbrowser is skipped, and said so, when it is
# not installed (Debian package edfbrowser).
#
#   bench/launch.sh [BUILD_DIR]          (default: build/ of the repository)
#   LUMEN_BENCH_RUNS=N                   pairs (default 5)
#
# Exit status 0 when the target is met (or the peer is missing), 1 when it
# is missed, 2 when a figure could not be taken.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
runs="${LUMEN_BENCH_RUNS:-5}"
target_ratio="0.9"

for tool in Xvfb python3; do
  command -v "$tool" >/dev/null || { echo "launch.sh: $tool is missing (scripts/packages-test.txt)" >&2; exit 2; }
done
cmake --build "$build" -j"$(nproc)" --target lumen holter >/dev/null
lumen="$build/src/shell/lumen"
holter="$build/tools/holter/holter"

work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-launch.XXXXXX")"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$holter" demo "$work/home" --hours 24 >/dev/null
blocks="$("$holter" info --home "$work/home" | sed -n 's/.*"blocks": *\([0-9]*\).*/\1/p' | head -1)"
peer=""
if command -v edfbrowser >/dev/null; then
  peer="$(command -v edfbrowser)"
  "$holter" decode --home "$work/home" 0 "${blocks:-8640}" | python3 "$root/bench/edf_from_recording.py" "$work/day.edf"
else
  echo "EDFbrowser is not installed (apt-get install edfbrowser): timing Lumen alone." >&2
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
if command -v openbox >/dev/null; then
  HOME="$work" openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
fi

probe() { python3 "$root/bench/launch_probe.py" "$@"; }
time_lumen() { probe --painted "V3.8-" -- "$lumen" --home "$work/home"; }
time_peer() { HOME="$work" probe EDFbrowser -- "$peer" "$work/day.edf"; }

# One untimed launch each, so that both start from warm file caches.
time_lumen >/dev/null
[ -n "$peer" ] && time_peer >/dev/null
lumen_times=()
peer_times=()
for _ in $(seq 1 "$runs"); do
  lumen_times+=("$(time_lumen)")
  [ -n "$peer" ] && peer_times+=("$(time_peer)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

lumen_median="$(median "${lumen_times[@]}")"
echo "Lumen, launch to first complete frame: ${lumen_times[*]} s; median $lumen_median s"
[ -z "$peer" ] && exit 0
peer_median="$(median "${peer_times[@]}")"
echo "EDFbrowser, launch to visible window:  ${peer_times[*]} s; median $peer_median s"
awk -v l="$lumen_median" -v p="$peer_median" -v t="$target_ratio" 'BEGIN {
  ratio = l / p
  printf "ratio Lumen / EDFbrowser: %.2f (target <= %s): %s\n", ratio, t, (ratio <= t) ? "met" : "MISSED"
  exit (ratio <= t) ? 0 : 1
}'
