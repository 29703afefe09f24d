#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A program home under a path that is not ASCII, as under C:\Users\Müller\
# with a Cyrillic folder: holter.exe writes the demo there, lumen.exe opens
# it headless and relabels a beat, and holter.exe info reads the corrected
# recording. The same steps in an ASCII home must give the same recording
# and the same information, and the relabelling must have changed it.
#
#   tests/platform/win32/unicode_home_test.sh WIN64_BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="$(realpath "$1")"
export WINEPREFIX="${WINEPREFIX:-$build/wine-prefix}"
wine_run="$root/cmake/wine-run.sh"
holter="$build/tools/holter/holter.exe"
lumen="$build/src/shell/lumen.exe"
"$wine_run" cmd /c exit 0 >/dev/null 2>&1
users="$WINEPREFIX/drive_c/users"
work="$users/lumen-unicode-$$"
trap 'rm -rf "$work"' EXIT
relabel=$'key Right\nkey V\nkey N\nbutton 2014\nbutton 2002'

# Runs the three steps in HOME (a Windows path under C:\users\); the demo's
# untouched recording is kept beside it as holter.mem.demo.
steps() {
  local home="$1" unix="$users/${1#C:\\users\\}"
  unix="${unix//\\//}"
  "$wine_run" "$holter" demo "$home" --hours 1 >/dev/null || { echo "unicode home: holter demo failed in $home"; return 1; }
  cp "$unix/recording/holter.mem" "$unix.holter.mem.demo"
  printf '%s\r\n' "$relabel" >"$unix/script.txt"
  "$wine_run" "$lumen" --home "$home" --headless 1024x768 --script "$home\\script.txt" 2>"$unix.lumen.err" || true
  "$wine_run" "$holter" info --home "$home" >"$unix.info" 2>&1 ||
    { echo "unicode home: holter info failed in $home"; cat "$unix.info"; return 1; }
}

mkdir -p "$work/Müller/Документы" "$work/plain/docs"
name="${work##*/}"
steps "C:\\users\\$name\\Müller\\Документы\\Пациент_Иванов"
steps "C:\\users\\$name\\plain\\docs\\patient"
unicode="$work/Müller/Документы/Пациент_Иванов"
plain="$work/plain/docs/patient"
failed=0
[ -s "$unicode/recording/holter.mem" ] || { echo "unicode home: no recording under $unicode"; exit 1; }
cmp -s "$unicode.holter.mem.demo" "$unicode/recording/holter.mem" &&
  { echo "unicode home: the relabelling did not reach the recording"; cat "$unicode.lumen.err"; failed=1; }
cmp -s "$plain/recording/holter.mem" "$unicode/recording/holter.mem" ||
  { echo "unicode home: the recordings of the two homes differ"; failed=1; }
[ "$(tr -d '\r' <"$unicode/dore.mem")" = 1 ] || { echo "unicode home: dore.mem does not hold 1"; failed=1; }
diff <(tr -d '\r' <"$plain.info") <(tr -d '\r' <"$unicode.info") ||
  { echo "unicode home: holter info differs"; failed=1; }
grep -q 'Пациент_Иванов' "$unicode/path.tmp" || { echo "unicode home: path.tmp does not name the home"; failed=1; }
[ "$failed" -eq 0 ] && echo "unicode home: demo, relabelling and info in $unicode as in an ASCII home"
exit "$failed"
