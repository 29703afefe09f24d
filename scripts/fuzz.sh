#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer harnesses of fuzz/ with clang (ASan + UBSan) in
# build-fuzz/, writes seed inputs from demo recordings, and runs every
# harness (or those named) for SECONDS each, two at a time.
#
#   scripts/fuzz.sh [SECONDS] [harness...]     (SECONDS defaults to 60)
#
# Corpora grow in build-fuzz/corpus/<name>/ from run to run; a crashing,
# leaking or hanging input is saved in build-fuzz/findings/<name>/ and makes
# the script end with status 1. Installs nothing (see scripts/packages-test.txt).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
all_harnesses=(recording_open block_decode beat_windows code_table forms configuration script_reader journal write_paths wfdb_header wfdb_annotations ishne edf channel_list source_notes ppd study)

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [SECONDS] [harness...]   harnesses: ${all_harnesses[*]}" >&2
  exit 2
fi
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=("${all_harnesses[@]}")
for name in "${harnesses[@]}"; do
  [[ " ${all_harnesses[*]} " == *" $name "* ]] || { echo "unknown harness: $name" >&2; exit 2; }
done

for tool in clang clang++; do
  command -v "$tool" >/dev/null || { echo "$tool not found (Debian packages clang, libclang-rt-14-dev)" >&2; exit 2; }
done

# The build: every library with -fsanitize=fuzzer-no-link,address,undefined.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEN_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers holter >/dev/null

# Seeds: three small demo homes, regenerated only when the tool changed.
seeds="$build/seeds"
holter="$build/tools/holter/holter"
if [ ! -f "$seeds/.stamp" ] || [ "$holter" -nt "$seeds/.stamp" ]; then
  rm -rf "$seeds"
  mkdir -p "$seeds"
  demos="$seeds/demo"
  # hours seed language: English, Hungarian (code page 1250), Russian (1251)
  for demo in "1 1 2" "1 3 1" "2 2 11"; do
    read -r hours seed language <<<"$demo"
    home="$demos/h${hours}s${seed}"
    ASAN_OPTIONS=detect_leaks=0 "$holter" demo "$home" --hours "$hours" --seed "$seed" --language "$language" >/dev/null
    tag="h${hours}s${seed}"
    for name in recording_open beat_windows block_decode code_table forms configuration write_paths; do mkdir -p "$seeds/$name"; done
    cp "$home/recording/holter.mem" "$seeds/recording_open/$tag.mem"
    # write_paths: the first byte's lowest bit asks for corrections
    for mode in 0 1; do { printf "\\x0$mode"; cat "$home/recording/holter.mem"; } >"$seeds/write_paths/$tag-$mode.mem"; done
    cp "$home/recording/holter.mem" "$seeds/beat_windows/$tag.mem"
    # block_decode: the home's code table, the split line, then holter.mem
    { cat "$home/huffman.ko2"; printf '#holter.mem\n'; cat "$home/recording/holter.mem"; } >"$seeds/block_decode/$tag.bin"
    cp "$home/huffman.ko2" "$seeds/code_table/$tag.ko2"
    cp "$home/recording/forms.mem" "$seeds/forms/$tag.mem"
    # configuration: the first byte chooses the file
    index=0
    for file in color.ini TBcolor.ini doef.mem path.tmp; do
      { printf "\\x0$index"; cat "$home/$file"; } >"$seeds/configuration/$tag-$file"
      index=$((index + 1))
    done
  done
  rm -rf "$demos"
  touch "$seeds/.stamp"
fi
mkdir -p "$seeds/script_reader" "$seeds/journal" "$seeds/ppd" "$seeds/source_notes" "$seeds/study"
cp "$root"/fuzz/seeds/script_reader/* "$seeds/script_reader/"
cp "$root"/fuzz/seeds/source_notes/* "$seeds/source_notes/"
cp "$root"/fuzz/seeds/journal/* "$seeds/journal/"
cp "$root"/fuzz/seeds/ppd/* "$seeds/ppd/"
cp "$root"/fuzz/seeds/study/* "$seeds/study/"
# The importers: the shared PhysioNet records' headers and annotations, and
# an ISHNE and an EDF+ file of the import tests' making.
physionet="$root/../shared/data/physionet"
mkdir -p "$seeds/wfdb_header" "$seeds/wfdb_annotations" "$seeds/ishne" "$seeds/edf" "$seeds/channel_list"
if [ -d "$physionet" ]; then
  cp "$physionet"/*/*.hea "$seeds/wfdb_header/" 2>/dev/null || true
  for atr in "$physionet"/mitdb/10[0-3].atr "$physionet"/svdb/800.atr; do
    [ -f "$atr" ] && head -c 4096 "$atr" >"$seeds/wfdb_annotations/$(basename "$atr")"
  done
fi
cp "$root"/fuzz/seeds/ishne/* "$seeds/ishne/" 2>/dev/null || true
cp "$root"/fuzz/seeds/edf/* "$seeds/edf/" 2>/dev/null || true
printf 'MLII,V5' >"$seeds/channel_list/two"

max_len() {
  case "$1" in
    recording_open|block_decode|beat_windows|write_paths) echo 524288 ;;
    journal) echo 65536 ;;
    code_table) echo 16384 ;;
    forms) echo 8192 ;;
    ishne|edf) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

scratch="$build/scratch"
[ -d /dev/shm ] && scratch="/dev/shm/lumen-fuzz-run-$$"
mkdir -p "$scratch" "$build/logs"
trap 'rm -rf "$scratch"' EXIT

run_harness() {
  local name="$1"
  local corpus="$build/corpus/$name" findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  LUMEN_FUZZ_SCRATCH="$scratch" ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    "$build/fuzz/fuzz_$name" "$corpus" "$seeds/$name" \
    -max_total_time="$seconds" -print_final_stats=1 -max_len="$(max_len "$name")" \
    -timeout=20 -rss_limit_mb=2048 -artifact_prefix="$findings/" \
    >"$build/logs/$name.log" 2>&1
}

# Two harnesses at a time; each one's exit status is kept in its log folder.
started="$(date +%s)"
touch "$build/logs/.started"
declare -A status
running=0
for name in "${harnesses[@]}"; do
  if [ "$running" -ge 2 ]; then
    wait -n || true
    running=$((running - 1))
  fi
  rm -f "$build/logs/$name.status"
  ( set +e; run_harness "$name"; echo $? >"$build/logs/$name.status" ) &
  running=$((running + 1))
done
wait

found=0
printf '%-15s %12s %8s %7s %7s %9s\n' harness executions exec/s cov corpus findings
for name in "${harnesses[@]}"; do
  log="$build/logs/$name.log"
  code="$(cat "$build/logs/$name.status" 2>/dev/null || echo 99)"
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)"
  cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)"
  # libFuzzer's own count: the inputs kept, seeds included
  corpus="$(grep -o 'corp: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)"
  findings="$(find "$build/findings/$name" -type f -newer "$build/logs/.started" | wc -l)"
  if [ "$code" != 0 ] && [ "$findings" -eq 0 ]; then findings=1; fi
  printf '%-15s %12s %8s %7s %7s %9s\n' "$name" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${corpus:-?}" "$findings"
  if [ "$findings" -gt 0 ]; then
    found=1
    echo "  $name: see $log; inputs in $build/findings/$name/" >&2
  fi
done
echo "fuzzing took $(( $(date +%s) - started )) s"
exit "$found"
