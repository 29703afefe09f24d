#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The import figure: a 24-hour two-channel 360 Hz WFDB record (MIT-BIH 100
# laid end to end by our own writer) made into a program home by
# `holter import`, RUNS times; the median wall time and the largest
# resident memory against their targets (3 s, 200 MB).
#   bench/import_bench.sh [BUILD_DIR]
set -eu
build=${1:-build}
runs=${LUMEN_BENCH_RUNS:-5}
here=$(cd "$(dirname "$0")" && pwd)
source_record=${LUMEN_SHARED_DATA:-$here/../../shared/data}/physionet/mitdb/100
[ -f "$source_record.hea" ] || { echo "import bench skipped: $source_record.hea not found"; exit 0; }
cmake --build "$build" -j2 --target holter lumen_long_record >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/lumen_long_record" "$source_record" "$work"
times=""
peak=0
i=0
while [ $i -lt "$runs" ]; do
    rm -rf "$work/home"
    /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$build/tools/holter/holter" import "$work/long24" "$work/home" >"$work/summary"
    read -r wall kib user system <"$work/time"
    times="$times $wall"
    cpus="${cpus:-} $(echo "$user $system" | awk '{print $1 + $2}')"
    [ "$kib" -gt "$peak" ] && peak=$kib
    i=$((i + 1))
done
median() { echo "$@" | tr ' ' '\n' | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
median=$(median $times)
cpu=$(median $cpus)
mb=$((peak / 1024))
cat "$work/summary"
echo "import of a 24-hour 2-channel 360 Hz WFDB record: median $median s over $runs runs (target < 3 s; CPU $cpu s), peak memory $mb MB (target <= 200 MB)"
awk -v t="$median" -v m="$mb" 'BEGIN { exit !(t < 3 && m <= 200) }' && echo "pass" || { echo "FAIL"; exit 1; }
