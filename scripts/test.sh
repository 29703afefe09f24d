#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lumen once, with AddressSanitizer and UndefinedBehaviorSanitizer at
# -O1 with line tables (-g1: stack traces name file and line), and runs
# every test in that build: what the sanitizers catch is caught on every
# run, and one build takes half the time of an optimised build plus a
# sanitized one. ccache is used when present.
#
#   scripts/test.sh [BUILD_DIR]        (default: build-test/ of the repository)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-test}")"
"$root/scripts/install-deps.sh" packages.txt packages-test.txt
jobs="$(nproc)"
started="$(date +%s)"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DLUMEN_SANITIZE=ON -DLUMEN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions.txt" \
  ctest --test-dir "$build" --output-on-failure --timeout 600 -j"$jobs"
echo "build and tests took $(( $(date +%s) - started )) s"
