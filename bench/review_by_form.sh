#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Reviewability: every annotated record of the MIT-BIH training half (DS1)
# imported with `holter import --detect`, then corrected by a simulated
# reviewer who gives each whole form the reference class most of its beats
# have (bench/review_by_form.cpp), and scored. The relabels per record, the
# form purity and V and S after the review say how much a reviewer must do
# and how far correcting by form can go.
#
#   bench/review_by_form.sh        BUILD_DIR=DIR (default build/, configured with LUMEN_BUILD_BENCH=ON)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
data="$(realpath -m "${DATA_DIR:-$root/../shared/data/physionet}")"
ds1="101 106 108 109 112 114 115 116 118 119 122 124 201 203 205 207 208 209 215 220 223 230"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-review.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cmake --build "$build" --target holter lumen_review_by_form >/dev/null
pairs=()
for record in $ds1; do
  "$build/tools/holter/holter" import "$data/mitdb/$record" "$work/$record" --detect >/dev/null
  pairs+=("$work/$record" "$data/mitdb/$record.atr")
done
"$build/bench/lumen_review_by_form" "${pairs[@]}"
