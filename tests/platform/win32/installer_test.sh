#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The NSIS installer as a user meets it, in a fresh Wine prefix on Xvfb with
# openbox (the installer is a 32-bit program: wine32 must be installed):
#  0. setup.exe opens on the GNU GPL; closed there, it installs nothing.
#  1. setup.exe /S installs into Program Files\Lumen with a Start menu entry
#     for all users and an entry in the uninstall list, and .edf, .bdf and
#     .hea open with lumen.exe (ProgID Lumen.Recording); .ecg, which another
#     program opened before, keeps that program and offers Lumen only under
#     "Open with".
#  2. The Start menu entry's first start writes the demo home under
#     %LOCALAPPDATA%\Lumen\demo and opens the viewer; the window manager's
#     close ends it through its normal exit (doef.mem written).
#  3. The second start opens the same home (the recording is not written
#     again) and ends the same way.
#  4. uninstall.exe /S leaves no file, Start menu entry, uninstall entry or
#     association of ours behind; only the demo home, the user's data, stays,
#     and .ecg still opens with the other program.
#
#   tests/platform/win32/installer_test.sh SETUP_EXE
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
setup="$(realpath "$1")"
wine_run="$root/cmake/wine-run.sh"
readonly title="FULL DISCLOSURE ECG HOLTER SYSTEM"
readonly wait_s=120

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix"
pids=()
trap 'wineserver -k 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: installer: $*" >&2; exit 1; }

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
. "$root/tests/platform/win32/desktop_session.sh"
start_desktop "$work"

drive_c="$WINEPREFIX/drive_c"
program="$drive_c/Program Files/Lumen"
entry_dir="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumen"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumen'
"$wine_run" wineboot -u >/dev/null 2>&1
classes='HKLM\Software\Classes'
progid=Lumen.Recording
# The default value of a key, empty when it has none.
reg_default() { "$wine_run" reg query "$1" /ve /reg:64 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
"$wine_run" reg add "$classes\\.ecg" /ve /d Other.Ecg /f /reg:64 >/dev/null 2>&1 || fail "cannot set up another program's .ecg"

echo "== the licence page"
# Started as a user starts it, the installer first shows the GNU GPL and
# waits for it to be accepted; nothing is installed until then.
cp "$setup" "$work/setup.exe"
"$wine_run" "Z:${work//\//\\}\\setup.exe" >/dev/null 2>&1 &
pids+=($!)
licence="$(timeout "$wait_s" xdotool search --sync --onlyvisible --name "License Agreement" | head -n1)" ||
  fail "no licence page"
echo "the installer opens on its licence page: $(xdotool getwindowname "$licence")"
[ ! -e "$program/lumen.exe" ] || fail "files were installed before the licence was accepted"
# Declined: the window closes and the installer ends without a trace.
wmctrl -i -c "$licence"
for _ in $(seq 100); do xdotool search --onlyvisible --name "License Agreement" >/dev/null 2>&1 || break; sleep 0.1; done
wineserver -k 2>/dev/null || true
timeout "$wait_s" wineserver -w || true
[ ! -e "$program/lumen.exe" ] || fail "a declined licence installed files"

echo "== silent install"
cp "$setup" "$work/setup.exe"
"$wine_run" "Z:${work//\//\\}\\setup.exe" /S >/dev/null 2>&1 || fail "setup.exe /S failed"
timeout "$wait_s" wineserver -w || true
for file in lumen.exe holter.exe clean_wf.exe lumen-desktop.cmd uninstall.exe README.md LICENSE.txt THIRD-PARTY.md; do
  [ -f "$program/$file" ] || fail "Program Files\\Lumen\\$file is missing"
done
[ -f "$entry_dir/Lumen.lnk" ] || fail "no Start menu entry in $entry_dir"
"$wine_run" reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 || fail "no uninstall entry"
echo "Program Files\\Lumen, the Start menu entry and the uninstall entry are there"
for extension in .edf .bdf .hea; do
  [ "$(reg_default "$classes\\$extension")" = "$progid" ] || fail "$extension does not open with $progid"
done
[ "$(reg_default "$classes\\.ecg")" = Other.Ecg ] || fail ".ecg was taken from the program that opened it"
"$wine_run" reg query "$classes\\.ecg\\OpenWithProgids" /v "$progid" /reg:64 >/dev/null 2>&1 ||
  fail ".ecg does not offer $progid under Open with"
command="$(reg_default "$classes\\$progid\\shell\\open\\command")"
[ "$command" = '"C:\Program Files\Lumen\lumen.exe" "%1"' ] || fail "$progid opens with: $command"
[ "$(reg_default "$classes\\$progid\\DefaultIcon")" = 'C:\Program Files\Lumen\lumen.exe,0' ] ||
  fail "$progid has no icon of lumen.exe"
echo "recordings open with lumen.exe; another program's .ecg stays its own"

# Opens the Start menu entry as the shell does and closes the viewer's
# window the way a user does; the viewer ends through its normal exit.
start_from_menu() {
  "$wine_run" start "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Lumen\\Lumen.lnk" >/dev/null 2>&1 ||
    fail "the Start menu entry did not start"
  local window
  window="$(timeout "$wait_s" xdotool search --sync --onlyvisible --name "$title" | head -n1)" || fail "no viewer window"
  demo="$(find "$drive_c/users" -path '*/AppData/Local/Lumen/demo' -type d | head -n1)"
  [ -n "$demo" ] && [ -s "$demo/path.tmp" ] && [ -s "$demo/recording/holter.mem" ] ||
    fail "no demo home under %LOCALAPPDATA%\\Lumen\\demo"
  rm -f "$demo/doef.mem"
  wmctrl -i -c "$window"
  timeout "$wait_s" wineserver -w || fail "the viewer did not end"
  [ -s "$demo/doef.mem" ] || fail "the viewer did not end through its normal exit (no doef.mem)"
}

echo "== first start from the Start menu"
start_from_menu
cp "$demo/recording/holter.mem" "$work/first.mem"
echo "demo home written in ${demo#"$drive_c/"}, the viewer opened and closed"
echo "== second start"
start_from_menu
cmp -s "$work/first.mem" "$demo/recording/holter.mem" || fail "the second start wrote the demo again"
echo "the same home opened again and closed"

echo "== silent uninstall"
"$wine_run" "C:\\Program Files\\Lumen\\uninstall.exe" /S >/dev/null 2>&1 || fail "uninstall.exe /S failed"
# The uninstaller runs on from a copy of itself in the temporary folder.
timeout "$wait_s" wineserver -w || true
[ ! -e "$program" ] || fail "Program Files\\Lumen is still there: $(ls -A "$program")"
[ ! -e "$entry_dir" ] || fail "the Start menu folder Lumen is still there"
"$wine_run" reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 && fail "the uninstall entry is still there"
for key in .edf .bdf .hea "$progid"; do
  "$wine_run" reg query "$classes\\$key" /reg:64 >/dev/null 2>&1 && fail "$classes\\$key is still there"
done
[ "$(reg_default "$classes\\.ecg")" = Other.Ecg ] || fail "the other program's .ecg did not stay"
"$wine_run" reg query "$classes\\.ecg\\OpenWithProgids" /v "$progid" /reg:64 >/dev/null 2>&1 &&
  fail ".ecg still offers $progid"
left="$(find "$drive_c" -iname '*lumen*' ! -path "$demo" ! -path "$demo/*" ! -path "${demo%/demo}")"
[ -z "$left" ] || fail "left behind: $left"
echo "nothing left but the demo home ${demo#"$drive_c/"}"
echo "installer test passed"
