#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clean-up program at the viewer's exit under Wine: lumen.exe and
# clean_wf.exe side by side in a folder whose path is not ASCII, as an
# installation puts them; the viewer relabels the beat of an isolated
# ventricular event and ends, starts clean_wf.exe by its bare name, and
# clean_wf.exe derives the episodes again in the home the viewer closed:
# one VISO fewer.
#
#   tests/platform/win32/clean_up_test.sh WIN64_BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="$(realpath "$1")"
export WINEPREFIX="${WINEPREFIX:-$build/wine-prefix}"
wine_run="$root/cmake/wine-run.sh"
holter="$build/tools/holter/holter.exe"
"$wine_run" cmd /c exit 0 >/dev/null 2>&1
users="$WINEPREFIX/drive_c/users"
work="$users/lumen-clean-up-$$"
trap 'rm -rf "$work"' EXIT
programs="$work/Программы"
mkdir -p "$programs"
cp "$build/src/shell/lumen.exe" "$build/tools/clean_wf/clean_wf.exe" "$programs/"
home="C:\\users\\${work##*/}\\home"

visoCount() { "$wine_run" "$holter" info --home "$home" | tr -d '\r' | sed -n 's/.*"VISO": \([0-9]*\).*/\1/p'; }

"$wine_run" "$holter" demo "$home" --hours 1 >/dev/null
printf '0 0 103 2 2\r\n' >"$work/home/doef.mem"  # opens on the first VISO
printf 'key N\r\n' >"$work/home/script.txt"
before="$(visoCount)"
"$wine_run" "$programs/lumen.exe" --home "$home" --headless 1024x768 --script "$home\\script.txt" || true
# clean_wf.exe runs on its own after the viewer has gone.
for _ in $(seq 1 60); do
  after="$(visoCount)"
  [ "$after" = "$((before - 1))" ] && { echo "clean-up: VISO $before -> $after after the viewer's exit"; exit 0; }
  sleep 0.5
done
echo "clean-up: VISO still $after (was $before): clean_wf.exe did not derive the episodes again"
exit 1
