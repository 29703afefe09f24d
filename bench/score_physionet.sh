#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The analysis against the reference annotations of the shared PhysioNet
# records (ANSI/AAMI EC57 beat by beat: 150 ms window, first 5 minutes not
# scored, ventricular flutter left out, F counted neither way for V):
#
# 1. leave one record out over the training half of the MIT-BIH Arrhythmia
#    Database (DS1): each record classified by a model learned from the 21
#    others, through the same analysis code (bench/beat_model);
# 2. `holter import --detect` of every annotated record with the embedded
#    model (learned from all of DS1, so DS1's figures there are training
#    figures), scored by `holter score`: DS1, the paced records apart, and
#    the records the model never saw (100, 103, 105, svdb 800);
# 3. atrial fibrillation by duration (bench/score_af.sh).
#
#   bench/score_physionet.sh        BUILD_DIR=DIR (default build/, configured with LUMEN_BUILD_BENCH=ON)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
holter="$build/tools/holter/holter"
data="$(realpath -m "${DATA_DIR:-$root/../shared/data/physionet}")"
ds1="101 106 108 109 112 114 115 116 118 119 122 124 201 203 205 207 208 209 215 220 223 230"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-score.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cmake --build "$build" --target holter lumen_train_beats >/dev/null

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

records=()
for r in $ds1; do records+=("$data/mitdb/$r"); done
"$build/bench/lumen_train_beats" "${records[@]}"
echo
echo "DS1 with the embedded model (training figures)"
score $ds1
echo
echo "paced"
score 102 104 107
echo
echo "never seen by the model"
score 100 103 105 800
echo
BUILD_DIR="$build" DATA_DIR="$data" "$root/bench/score_af.sh"
