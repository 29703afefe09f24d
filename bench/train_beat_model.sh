#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Learns the beat classification model from the annotated training half of
# the MIT-BIH Arrhythmia Database (DS1), prints its leave-one-record-out
# scores and writes the model learned from all of DS1 into
# src/analysis/beat_model_nodes.inc and beat_model_roots.inc.
#
#   bench/train_beat_model.sh        BUILD_DIR=DIR (default build/, configured with LUMEN_BUILD_BENCH=ON)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
data="${DATA_DIR:-$root/../shared/data/physionet}/mitdb"
ds1="101 106 108 109 112 114 115 116 118 119 122 124 201 203 205 207 208 209 215 220 223 230"
cmake --build "$build" --target lumen_train_beats >/dev/null
records=()
for r in $ds1; do records+=("$data/$r"); done
"$build/bench/lumen_train_beats" --write "$root/src/analysis" "${records[@]}"
