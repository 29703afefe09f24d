#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Atrial fibrillation found from the beats alone, scored by duration against
# the reference rhythm annotations ((AFIB and (AFL up to the next rhythm
# change): each record is imported from a copy of its .atr without rhythm
# changes, so the detector has to find the arrhythmia itself. The Long-Term
# AF Database records carry beats only (no signal files): their annotated
# beats are used. MIT-BIH 201 and 203 are imported with --detect: the
# analysis finds and classifies the beats from the signal; then, for
# comparison, with their annotated beats.
#
#   bench/score_af.sh        BUILD_DIR=DIR (default build/), DATA_DIR=DIR (the PhysioNet copies)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build}")"
holter="$build/tools/holter/holter"
data="${DATA_DIR:-$root/../shared/data/physionet}"
scorer="$root/bench/score_af.py"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumen-af.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# score SET OPTION RECORD...: one table over the records of a folder.
score() {
  local set="$1" option="$2"
  shift 2
  : >"$work/rows.jsonl"
  for source in "$@"; do
    local name copy
    name="$(basename "$source")"
    copy="$work/source/$name"
    mkdir -p "$work/source"
    cp "$source.hea" "$copy.hea"
    if [ -f "$source.dat" ]; then ln -sf "$source.dat" "$copy.dat"; fi
    python3 "$scorer" strip "$source.atr" "$copy.atr"
    if ! "$holter" import "$copy.hea" "$work/home" $option --force >/dev/null 2>"$work/import.log"; then
      cat "$work/import.log" >&2
      exit 1
    fi
    "$holter" info --home "$work/home" >"$work/info.json"
    python3 "$scorer" score "$name" "$source" "$work/info.json" >>"$work/rows.jsonl"
    rm -f "$copy".*
  done
  echo "$set"
  python3 "$scorer" table "$work/rows.jsonl"
  echo
}

score "Long-Term AF Database (annotated beats)" "" $(ls "$data"/ltafdb/*.atr | sed 's/\.atr$//' | sort -V)
score "MIT-BIH 201 and 203 (--detect)" "--detect" "$data/mitdb/201" "$data/mitdb/203"
score "MIT-BIH 201 and 203 (annotated beats)" "" "$data/mitdb/201" "$data/mitdb/203"
