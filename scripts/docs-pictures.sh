#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes every picture of docs/ from the current build: the viewer runs
# headless on the demo recording that scripts/demo.sh opens (24 hours,
# seed 1) and takes each shot; the report is printed into a PDF and its
# upper part rendered at 150 dpi.
#
#   scripts/docs-pictures.sh [OUT_DIR]     (default: docs/)
#   BUILD_DIR=DIR                          the build to use (default: build/)
#
# scripts/check-docs-pictures.sh compares the committed pictures with a
# fresh set from this script.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$root/docs}")"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
[ -x "$build/src/shell/lumen" ] || cmake --build "$build" -j"$(nproc)" --target lumen holter >/dev/null
lumen="$build/src/shell/lumen"
holter="$build/tools/holter/holter"
command -v pdftoppm >/dev/null || { echo "docs-pictures.sh: pdftoppm is missing (poppler-utils)" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-docs.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
ASAN_OPTIONS=detect_leaks=0 "$holter" demo "$work/pristine" >/dev/null

# shoot NAME SCREEN [OPTIONS...]: the script on standard input, then a shot
# into NAME, on a fresh copy of the demo home (corrections stay out).
shoot() {
  local name="$1" screen="$2"
  shift 2
  rm -rf "$work/home"
  cp -r "$work/pristine" "$work/home"
  sed "s#$work/pristine#$work/home#" "$work/pristine/path.tmp" >"$work/home/path.tmp"
  { cat; [ "$name" = - ] || echo "shot $work/$name"; } >"$work/script.txt"
  ASAN_OPTIONS=detect_leaks=0 "$lumen" --home "$work/home" --headless "$screen" "$@" --script "$work/script.txt" \
    || [ $? -eq 255 ]
  [ "$name" = - ] || cp "$work/$name" "$out/$name"
}

# The start: the first ventricular tachycardia, 25 mm/s, 10 mm/mV.
shoot screenshot-main.png 1024x768 </dev/null
shoot screenshot-1920.png 1920x1080 </dev/null
# Speed 25 -> 50 -> 12.5 mm/s.
echo "button 2012" | shoot guide-speed-50.png 1024x768
printf 'button 2012\nbutton 2012\n' | shoot guide-speed-12.png 1024x768
# A right click in the rows: three hours around the cursor.
echo "rclick 400 100" | shoot screenshot-zoom.png 1024x768
# Three rows up, the couplets; the next one declared artefact.
printf 'key Up\nkey Up\nkey Up\nkey Right\nkey Delete\n' | shoot guide-artefact.png 1024x768
# Six rows down, the heart-rate minimum.
printf 'key Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Down\n' | shoot guide-hrmin.png 1024x768
# An RR interval measured on channel 1 between two normal beats.
printf 'press 109 580\nmove 160 580\nmove 190 580\nrelease 190 580\n' | shoot screenshot-caliper.png 1024x768

# An imported MIT-BIH record (the shared PhysioNet data beside the
# repository): record 106 on its third ventricular bigeminy.
physionet="$root/../shared/data/physionet/mitdb"
if [ -f "$physionet/106.hea" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$holter" import "$physionet/106" "$work/mitdb-106" >/dev/null
  { for _ in $(seq 15); do echo "key Up"; done; for _ in $(seq 17); do echo "key Left"; done
    echo "shot $work/guide-mitdb-106.png"; } >"$work/mitdb.txt"
  ASAN_OPTIONS=detect_leaks=0 "$lumen" --home "$work/mitdb-106" --headless 1024x768 --script "$work/mitdb.txt" \
    || [ $? -eq 255 ]
  cp "$work/guide-mitdb-106.png" "$out/"
fi
# A record without beat annotations, analysed on import: MIT-BIH 119 with
# its ventricular bigeminy, on the first ventricular event.
if [ -f "$physionet/../mitdb-signal-only/119.hea" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$holter" import "$physionet/../mitdb-signal-only/119" "$work/analysed-119" >/dev/null
  echo "shot $work/guide-analysed-119.png" >"$work/analysed.txt"
  ASAN_OPTIONS=detect_leaks=0 "$lumen" --home "$work/analysed-119" --headless 1024x768 --script "$work/analysed.txt" \
    || [ $? -eq 255 ]
  cp "$work/guide-analysed-119.png" "$out/"
fi

# The forms view of an analysed record: MIT-BIH 208 as the analysis finds
# it, the second form selected and its first beat in the strip.
if [ -f "$physionet/208.hea" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$holter" import "$physionet/208" "$work/forms-208" --detect >/dev/null
  printf 'key F\nkey Right\nkey Enter\nshot %s\n' "$work/guide-forms.png" >"$work/forms.txt"
  ASAN_OPTIONS=detect_leaks=0 "$lumen" --home "$work/forms-208" --headless 1024x768 --script "$work/forms.txt" \
    || [ $? -eq 255 ]
  cp "$work/guide-forms.png" "$out/"
fi

# A recording opened as a file (lumen FILE): MIT-BIH 223 without its
# annotations, imported into a cache folder and analysed; then the start
# screen, which offers it as the recording opened last. The record is read
# from a fixed folder, so that the start screen shows the same path
# wherever the repository lies.
if [ -f "$physionet/../mitdb-signal-only/223.hea" ]; then
  guide=/tmp/lumen-guide-recordings
  rm -rf "$guide"
  mkdir -p "$guide"
  cp "$physionet/../mitdb-signal-only/223".* "$guide/"
  echo "shot $work/guide-open-file.png" >"$work/open.txt"
  XDG_CACHE_HOME="$work/cache" ASAN_OPTIONS=detect_leaks=0 "$lumen" --headless 1024x768 --script "$work/open.txt" \
    "$guide/223.hea" 2>/dev/null || [ $? -eq 255 ]
  mkdir -p "$work/nohome"
  cp "$lumen" "$work/nohome/lumen"
  echo "shot $work/guide-start-screen.png" >"$work/start.txt"
  XDG_CACHE_HOME="$work/cache" ASAN_OPTIONS=detect_leaks=0 "$work/nohome/lumen" --headless 1024x768 \
    --script "$work/start.txt"
  cp "$work/guide-open-file.png" "$work/guide-start-screen.png" "$out/"
  rm -rf "$guide"
fi

# The report of the start event, with a measurement on the strip.
printf 'press 109 580\nmove 190 580\nrelease 190 580\nbutton 1007\nanswer yes\n' |
  shoot - 1024x768 --print-to "$work/report.pdf"
# 150 dpi, the report's frame down to the end of the ECG excerpt, without
# the empty margins: the strip stays legible at the size a page shows it.
pdftoppm -r 150 -png -singlefile -x 45 -y 0 -W 1100 -H 1500 "$work/report.pdf" "$work/report"
cp "$work/report.png" "$out/report-page.png"

# The study report of the demo day and of MIT-BIH 208 (imported with its
# reference beats): summary, trends and a page of strips, at 90 dpi. The
# report's date is fixed, as a reproducible build fixes its time stamps.
study() {
  local home="$1" name="$2"
  shift 2
  SOURCE_DATE_EPOCH=1796601600 ASAN_OPTIONS=detect_leaks=0 "$holter" report --home "$home" \
    --pdf "$work/$name.pdf" --reviewer "Dr. A. Example" "$@" >/dev/null
  pdftoppm -r 90 -png -f 1 -l 2 "$work/$name.pdf" "$work/$name"
  cp "$work/$name-1.png" "$out/$name-summary.png"
  cp "$work/$name-2.png" "$out/$name-trends.png"
}
study "$work/pristine" report-demo --interpretation "$root/docs/report-interpretation.txt"
pdftoppm -r 90 -png -f 5 -l 5 -singlefile "$work/report-demo.pdf" "$work/report-demo-strips"
cp "$work/report-demo-strips.png" "$out/"
if [ -f "$physionet/208.hea" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$holter" import "$physionet/208" "$work/study-208" >/dev/null
  study "$work/study-208" report-208
fi
ls "$out"/*.png
