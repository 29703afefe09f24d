#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every performance figure of Lumen in one table, each with its target and
# pass/fail: builds lumen, holter and lumen_bench, generates the 24-hour
# demo home, runs lumen_bench with repetitions, and times whole `lumen`
# sessions (start-up, per-action times through the whole viewer, peak
# memory, auto-step). Every figure is the median of several runs; the
# verdict is taken on wall time, the CPU time beside it shows how much of
# that the program itself used on a shared machine.
#
#   bench/run.sh [BUILD_DIR]        (default: build/ of the repository)
#   LUMEN_BENCH_RUNS=N              runs per figure (default 5)
#   LUMEN_BENCH_ACTIONS=N           actions per viewer script (default 500)
#
# Exit status 0 when every target is met, 1 when one is missed, 2 when a
# figure could not be taken.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
runs="${LUMEN_BENCH_RUNS:-5}"
actions="${LUMEN_BENCH_ACTIONS:-500}"
# shellcheck source=bench/viewer_scripts.sh
. "$root/bench/viewer_scripts.sh"
# shellcheck source=bench/figure_table.sh
. "$root/bench/figure_table.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-perf.XXXXXX")"
trap 'rm -rf "$work"' EXIT
home="$work/home"
pristine="$work/pristine"
lumen="$build/src/shell/lumen"
holter="$build/tools/holter/holter"
bench="$build/bench/lumen_bench"

say() { printf '== %s\n' "$*" >&2; }
now_us() { echo "${EPOCHREALTIME/./}"; }
# CPU time (user + system) of this shell's finished children, microseconds.
# `times` must run in the calling shell itself: a forked one starts at zero.
children_cpu_us() {
  times >"$work/times.txt"
  awk 'NR == 2 { print us($1) + us($2) } function us(t) { split(t, p, /[ms]/); return int((p[1] * 60 + p[2]) * 1e6 + 0.5) }' \
    "$work/times.txt"
}

# ---- build -----------------------------------------------------------------
say "building lumen, holter and lumen_bench in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEN_SANITIZE=OFF -DLUMEN_BUILD_BENCH=ON \
  >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 2; }
cmake --build "$build" -j"$(nproc)" --target lumen holter lumen_bench >>"$work/build.log" 2>&1 ||
  { tail -40 "$work/build.log" >&2; exit 2; }

# ---- the 24-hour demo home -------------------------------------------------
say "generating the 24-hour demo home ($runs runs)"
for _ in $(seq 1 "$runs"); do
  rm -rf "$home"
  start="$(now_us)"
  children_cpu_us >"$work/cpu.us"
  "$holter" demo "$home" >/dev/null
  stop="$(now_us)"
  children_cpu_us >>"$work/cpu.us"
  echo "$((stop - start)) $(($(tail -1 "$work/cpu.us") - $(head -1 "$work/cpu.us")))"
done >"$work/demo.us"
figure "generate the 24-hour demo home (\`holter demo\`)" "$(column_median 1 1e-6 <"$work/demo.us")" \
  "$(column_median 2 1e-6 <"$work/demo.us")" s "<" 10
cp -r "$home" "$pristine"
restore_home() { rm -rf "$home" && cp -r "$pristine" "$home"; }

# ---- lumen_bench -----------------------------------------------------------
say "lumen_bench, $runs repetitions (about a minute)"
"$bench" --benchmark_filter='-BM_Demo' --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/bench.json" --benchmark_out_format=json >"$work/bench.txt" 2>&1 ||
  { cat "$work/bench.txt" >&2; exit 2; }
# bench_figure WHAT NAME OP LIMIT: a benchmark's median, in milliseconds.
bench_figure() {
  figure "$1" "$(bench_ms "$work/bench.json" "$2" real_time)" "$(bench_ms "$work/bench.json" "$2" cpu_time)" ms "$3" "$4"
}
fast="$(bench_ms "$work/bench.json" BM_DecodeRecordingTableDriven real_time)"
literal="$(bench_ms "$work/bench.json" BM_DecodeRecordingLiteralScan/iterations:2 real_time)"
bench_figure "decode every block, both channels, table-driven" BM_DecodeRecordingTableDriven "<" 60
bench_figure "decode every block, both channels, literal table scan" BM_DecodeRecordingLiteralScan/iterations:2 - ""
figure "decoder speed-up, literal scan / table-driven (same run)" "$(calc "$literal / $fast")" "" "×" ">=" 20
bench_figure "fetch every block, index to samples" BM_FetchEveryBlock "<" 60
bench_figure "open the recording and feed its events" BM_OpenRecordingAndFeedEvents "<" 50
bench_figure "catalog: next/previous event in a 100 000-event row" BM_NextAndPreviousEvent "<" 5
bench_figure "catalog: row change into that row" BM_RowChangeIntoBusyRow "<" 5
bench_figure "catalog: click into that row" BM_ClickIntoBusyRow "<" 5
bench_figure "catalog: all 19 rows painted (raster)" BM_PaintAllRasterCanvas "<" 5
bench_figure "catalog: repaint after a step (raster)" BM_RepaintAfterStep "<" 5
bench_figure "strip: reload around a time" BM_StripLoadAround "<" 5
bench_figure "strip: relabel a beat with write-back" BM_StripRelabelWithWriteBack "<" 5
bench_figure "strip: speed change" BM_StripSpeedChange "<" 5
bench_figure "strip: amplitude change" BM_StripAmplitudeChange "<" 5
bench_figure "strip: caliper drag step" BM_StripCaliperDrag "<" 1
bench_figure "report to a PDF file" BM_ReportToPdfFile "<" 200
bench_figure "study report of a day: open, numbers, every page to PDF" BM_StudyReportOfADay "<" 1000
bench_figure "study report: the numbers of a day (HRV spectra included)" BM_StudyFiguresOfADay "<" 500

# ---- whole viewer ----------------------------------------------------------
viewer_args=()
# viewer_us SCRIPT: "wall cpu" microseconds of one whole `lumen` session on
# a fresh copy of the home (a session writes its state back at the end).
viewer_us() {
  restore_home
  local start status=0 stop
  start="$(now_us)"
  echo "$start" >"$work/start.us"
  children_cpu_us >"$work/cpu.us"
  "$lumen" --home "$home" --headless 1024x768 --script "$1" "${viewer_args[@]}" >/dev/null 2>"$work/viewer.err" ||
    status=$?
  stop="$(now_us)"
  if [ "$status" -ne 255 ] && [ "$status" -ne 0 ]; then
    { echo "lumen ended with status $status on $1:"; cat "$work/viewer.err"; } >&2
    return 2
  fi
  children_cpu_us >>"$work/cpu.us"
  echo "$((stop - start)) $(($(tail -1 "$work/cpu.us") - $(head -1 "$work/cpu.us")))"
}

# per_action COUNT PREFIX ACTIONS...: "wall cpu" milliseconds per action,
# one line per run; each run times prefix + actions against the prefix alone.
per_action() {
  local count="$1" prefix="$2" base full
  shift 2
  "$prefix" >"$work/base.txt"
  { "$prefix"; "$@"; } >"$work/full.txt"
  for _ in $(seq 1 "$runs"); do
    base="$(viewer_us "$work/base.txt")"
    full="$(viewer_us "$work/full.txt")"
    echo "$base $full" | awk -v n="$count" '{ print ($3 - $1) / n / 1000, ($4 - $2) / n / 1000 }'
  done
}

# action WHAT LIMIT_MS COUNT PREFIX ACTIONS...: one per-action figure.
action() {
  local what="$1" limit="$2"
  shift 2
  per_action "$@" >"$work/action.ms"
  figure "$what" "$(column_median 1 1 <"$work/action.ms")" "$(column_median 2 1 <"$work/action.ms")" ms "<" "$limit"
}

say "start-up to the first frame ($runs runs)"
echo "dump $work/first.json" >"$work/first.txt"
for _ in $(seq 1 "$runs"); do
  rm -f "$work/first.json"
  whole="$(viewer_us "$work/first.txt")"
  written="$(stat -c %.6Y "$work/first.json" | tr -d .)"
  echo "$((written - $(cat "$work/start.us"))) $whole"
done >"$work/first.us"
figure "process start to first complete frame, 1024 × 768" "$(column_median 1 1e-3 <"$work/first.us")" "" ms "<" 150
figure "whole process: start, first frame, exit" "$(column_median 2 1e-3 <"$work/first.us")" \
  "$(column_median 3 1e-3 <"$work/first.us")" ms - ""

# The scripts below rely on the demo day's largest row and the layout.
check_scripts() {
  restore_home
  { script_largest_row_start; echo "dump $work/start.json"; script_largest_row_end; echo "dump $work/end.json"; } \
    >"$work/check.txt"
  "$lumen" --home "$home" --headless 1024x768 --script "$work/check.txt" >/dev/null 2>&1 || true
  grep -q '"name": "SVISO", "count": 220, "ordinal": 1,' "$work/start.json" &&
    grep -q '"name": "SVISO", "count": 220, "ordinal": 220,' "$work/end.json"
}
check_scripts || { echo "the demo day is not the one the scripts expect (SVISO, 220 events)" >&2; exit 2; }

say "actions through the whole viewer, $actions per script, $runs runs each"
steps=$((actions < 200 ? actions : 200))
action "next event (button): rows, strip and buttons repainted" 5 "$steps" \
  script_largest_row_start script_repeat "$steps" button 1003
action "previous event (button)" 5 "$steps" script_largest_row_end script_repeat "$steps" button 1002
action "next/previous event (arrow keys)" 5 "$actions" \
  script_largest_row script_repeat "$((actions / 2))" $'key Right\nkey Left'
action "row change (arrow keys)" 5 "$actions" true script_row_changes "$actions"
action "click into a row" 5 "$actions" true script_row_clicks "$actions"
action "relabel a beat (V / N keys)" 5 "$actions" true script_relabels "$actions"
action "speed change (button)" 5 "$actions" true script_repeat "$actions" button 2012
action "amplitude change (button)" 5 "$actions" true script_repeat "$actions" button 2011
action "caliper drag step" 1 "$actions" true script_caliper_drag "$actions"
viewer_args=(--print-to "$work/report.pdf")
action "report PDF (button, confirmed)" 200 5 true script_reports 5
viewer_args=()

say "auto-step through the largest row ($runs runs)"
for count in 55 220; do
  action "auto-step, per event over the first $count events" 5 "$count" \
    script_largest_row_start script_auto_step "$count"
  cp "$work/action.ms" "$work/auto$count.ms"
done
figure "auto-step linearity: per-event time, 220 vs 55 events" \
  "$(calc "$(column_median 1 1 <"$work/auto220.ms") / $(column_median 1 1 <"$work/auto55.ms")")" \
  "$(calc "$(column_median 2 1 <"$work/auto220.ms") / $(column_median 2 1 <"$work/auto55.ms")")" "×" "<" 1.5

say "peak memory of a whole session ($runs runs)"
script_whole_session >"$work/session.txt"
if [ -x /usr/bin/time ]; then
  for _ in $(seq 1 "$runs"); do
    restore_home
    status=0
    /usr/bin/time -v -o "$work/time.txt" "$lumen" --home "$home" --headless 1024x768 --script "$work/session.txt" \
      --print-to "$work/report.pdf" >/dev/null 2>"$work/viewer.err" || status=$?
    if [ "$status" -ne 255 ] && [ "$status" -ne 0 ]; then cat "$work/viewer.err" >&2; exit 2; fi
    awk -F': ' '/Maximum resident set size/ { print $2 / 1024 }' "$work/time.txt"
  done >"$work/rss.mb"
  figure "peak resident memory, whole session on the 24-hour recording" "$(column_median 1 1 <"$work/rss.mb")" "" \
    MB "<" 64
else
  echo "/usr/bin/time is missing: install the Debian package 'time'" >&2
  figure "peak resident memory, whole session on the 24-hour recording" nan "" MB "<" 64
fi

print_table "$runs"
