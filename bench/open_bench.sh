#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The figure of opening a file: a 24-hour two-channel 360 Hz EDF file without
# annotations (MIT-BIH 100 laid end to end) opened with `lumen FILE` into an
# empty cache: import, analysis and the first window (a screenshot taken),
# then the same file opened again. Median wall times of RUNS runs against
# their targets (5 s, 0.5 s).
#   bench/open_bench.sh [BUILD_DIR]
set -eu
build=${1:-build}
runs=${LUMEN_BENCH_RUNS:-3}
here=$(cd "$(dirname "$0")" && pwd)
source_record=${LUMEN_SHARED_DATA:-$here/../../shared/data}/physionet/mitdb/100
[ -f "$source_record.dat" ] || { echo "open bench skipped: $source_record.dat not found"; exit 0; }
cmake --build "$build" -j2 --target lumen >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_long_edf.py" "$source_record" "$work/day.edf"
echo "shot $work/first.png" >"$work/script.txt"
open_once() {
    /usr/bin/time -f "%e" -o "$work/time" env XDG_CACHE_HOME="$work/cache" \
        "$build/src/shell/lumen" --headless 1024x768 --script "$work/script.txt" "$work/day.edf" 2>>"$work/log" || true
    [ -s "$work/first.png" ] || { echo "FAIL: no first window"; cat "$work/log"; exit 1; }
    rm -f "$work/first.png"
    tail -n 1 "$work/time"
}
firsts=""
seconds=""
i=0
while [ $i -lt "$runs" ]; do
    rm -rf "$work/cache"
    firsts="$firsts $(open_once)"
    seconds="$seconds $(open_once)"
    i=$((i + 1))
done
median() { echo "$@" | tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
first=$(median $firsts)
second=$(median $seconds)
grep -m1 imported "$work/log" || true
echo "lumen FILE on a 24-hour 2-channel 360 Hz EDF without annotations: first open $first s (target < 5 s), second open $second s (target < 0.5 s), median of $runs"
awk -v f="$first" -v s="$second" 'BEGIN { exit !(f < 5 && s < 0.5) }' && echo "pass" || { echo "FAIL"; exit 1; }
