#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every test under valgrind memcheck in its own build folder
# (build-valgrind), prints a summary and fails on any memory error or
# definite/indirect leak.
#
#   scripts/valgrind.sh                 every test; programs the tests start
#                                       (lumen, holter) run natively
#   CHILDREN=yes scripts/valgrind.sh    lumen and holter started by the tests
#                                       run under valgrind too (much slower)
#   TESTS=regex scripts/valgrind.sh     only the tests whose names match
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-valgrind}"
jobs="${JOBS:-2}"
children="${CHILDREN:-no}"

if ! command -v valgrind > /dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get install -y valgrind
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEN_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" -j"$jobs"

options="--leak-check=full --error-exitcode=1 --errors-for-leak-kinds=definite,indirect"
options+=" --show-leak-kinds=definite,indirect --track-origins=no --num-callers=30"
if [ "$children" = "yes" ]; then
  # Follow the shell of std::system into lumen and holter; system programs
  # (X server, print and bus daemons, image tools) run natively.
  options+=" --trace-children=yes"
  options+=" --trace-children-skip=*/Xvfb,*/xvfb-run,*/cupsd,*/dbus-daemon,*/dbus-launch,*/lpstat,*/lpadmin,*/pdftoppm,*/pdfinfo,*/pdftotext,*/convert,*/compare,*/identify,*/xdotool,*/sleep,*/env,*/timeout"
else
  options+=" --trace-children=no"
fi

filter=()
[ -n "${TESTS:-}" ] && filter=(-R "$TESTS")
# The real-display tests wait for an X server and its window with deadlines
# that a program slowed down fifty times cannot meet; they run under the
# sanitizers instead.
filter+=(-E "^(XvfbTest|RealDisplay)\\.")
rm -f "$build"/Testing/Temporary/MemoryChecker.*.log
started=$(date +%s)
status=0
ctest --test-dir "$build" -T memcheck -j"$jobs" --timeout 3600 "${filter[@]}" \
  --overwrite MemoryCheckCommand="$(command -v valgrind)" \
  --overwrite MemoryCheckCommandOptions="$options" \
  --overwrite MemoryCheckSuppressionFile="$root/tests/valgrind.supp" \
  > "$build/valgrind-ctest.log" 2>&1 || status=$?
finished=$(date +%s)

logs=("$build"/Testing/Temporary/MemoryChecker.*.log)
errors=0
leaks=0
for log in "${logs[@]}"; do
  [ -f "$log" ] || continue
  if grep -Eq "ERROR SUMMARY: [1-9]" "$log"; then errors=$((errors + 1)); fi
  if grep -Eq "(definitely|indirectly) lost: [1-9]" "$log"; then leaks=$((leaks + 1)); fi
done

echo "valgrind memcheck: $((finished - started)) s, children under valgrind: $children"
grep -E "tests passed|tests failed" "$build/valgrind-ctest.log" || true
sed -n '/Memory checking results:/,/^$/p' "$build/valgrind-ctest.log"
echo "test processes with memory errors: $errors, with definite or indirect leaks: $leaks"
if [ "$errors" -ne 0 ] || [ "$leaks" -ne 0 ]; then
  grep -lE "ERROR SUMMARY: [1-9]|(definitely|indirectly) lost: [1-9]" "${logs[@]}" || true
fi
sed -n '/The following tests FAILED/,$p' "$build/valgrind-ctest.log"
[ "$status" -eq 0 ] && [ "$errors" -eq 0 ] && [ "$leaks" -eq 0 ]
