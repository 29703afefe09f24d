#!/usr/bin/env bash
# Imports every annotated record of the shared PhysioNet data with the
# analysis (--detect: the annotations stay hidden from it) and scores the
# beats against the .atr, beat by beat (ANSI/AAMI EC57): the records without
# pacemaker first, then the paced ones (102, 104, 107) apart.
#
#   bench/score_physionet.sh        BUILD_DIR=DIR (default build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
holter="$build/tools/holter/holter"
data="$root/../shared/data/physionet"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-score.XXXXXX")"
trap 'rm -rf "$work"' EXIT

score() {
  local pairs=()
  for record in "$@"; do
    local source="$data/mitdb/$record"
    [ -f "$source.hea" ] || source="$data/svdb/$record"
    "$holter" import "$source" "$work/$record" --detect >/dev/null
    pairs+=("$work/$record" "$source.atr")
  done
  "$holter" score "${pairs[@]}"
}

echo "without pacemaker"
score 100 103 105 106 108 208 800
echo
echo "paced"
score 102 104 107
