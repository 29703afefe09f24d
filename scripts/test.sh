#!/usr/bin/env bash
# Builds Lumen and runs every test: once optimised, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DLUMEN_SANITIZE=ON -DLUMEN_BUILD_BENCH=OFF
cmake --build "$root/build-sanitize" -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions.txt" \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs"
