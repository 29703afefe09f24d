#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# lumen.exe on a real desktop (Wine on Xvfb, openbox, xdotool), in a Wine
# prefix of its own since a Wine session keeps the display it started with.
#  1. Started by hand: opens maximised showing exactly the headless frame of
#     its client size; a key and a click change the picture; Exit ends it
#     with status 255 and doef.mem in CR LF.
#     Closed by the window manager (Alt+F4) or restored, it ends the same way.
#  2. Started by acquisition_host.exe (path.tmp, no arguments): minimising
#     ends it and the host receives the 0x221 broadcast.
#  3. Started again, a beat relabelled, closed by the host with 0x220: the
#     correction is saved as the same keys save it headless, and no 0x221
#     comes, since clean_wf.exe is due instead.
# First the driver's own tests that need a desktop window
# (Win32DriverMouse.*: a lost mouse capture ends a drag; Win32DriverDrop.*:
# files dropped from Explorer reach the program) run here.
#
#   tests/platform/win32/desktop_test.sh WIN64_BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="$(realpath "$1")"
lumen="$build/src/shell/lumen.exe"
holter="$build/tools/holter/holter.exe"
host="$build/tests/platform/win32/acquisition_host.exe"
wine_run="$root/cmake/wine-run.sh"
export WINEPREFIX="$build/wine-prefix-desktop"
readonly title="FULL DISCLOSURE ECG HOLTER SYSTEM"
readonly wait_s=60

work="$(mktemp -d)"
pids=()
trap 'wineserver -k 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
. "$root/tests/platform/win32/desktop_session.sh"
start_desktop "$work"

echo "== the driver's tests that need a desktop"
"$wine_run" "$build/tests/platform/win32/test_platform_win32.exe" \
  --gtest_filter='Win32DriverMouse.*:Win32DriverDrop.*' >"$work/driver.log" 2>&1 || true
grep -q '^\[  PASSED  \] 2 tests' "$work/driver.log" && ! grep -q '\[  SKIPPED \]' "$work/driver.log" ||
  { cat "$work/driver.log"; fail "Win32DriverMouse.* or Win32DriverDrop.* did not pass"; }
echo "Win32DriverMouse.* and Win32DriverDrop.* passed"

"$wine_run" "$holter" demo "$(winpath "$work/base")" --hours 2 >/dev/null
for home in real headless wm-close restore host-minimise host-close relabel-headless; do cp -r "$work/base" "$work/$home"; done
for home in real headless wm-close restore relabel-headless; do printf '%s\r\n' "$(winpath "$work/$home/recording")" >"$work/$home/path.tmp"; done

viewer_window() {
  local window
  window="$(timeout "$wait_s" xdotool search --sync --onlyvisible --name "$title" | head -n1)" || fail "no viewer window"
  for _ in $(seq 100); do xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ && break; sleep 0.1; done
  xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_VERT || fail "the window is not maximised"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  echo "$window"
}
# The picture once two captures a moment apart agree.
capture() {
  import -window "$1" "$work/settle.png"
  for _ in $(seq 20); do
    sleep 0.5 && import -window "$1" "$2"
    [ "$(differing "$work/settle.png" "$2")" = 0 ] && return 0
    cp "$2" "$work/settle.png"
  done
}
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
geometry() { xwininfo -id "$1" | sed -n "s/^  $2: *\([0-9-]*\)$/\1/p"; }
dump_number() { grep -o "\"$2\": \[[-0-9, ]*\]" "$1" | tr -cd '0-9,-' | cut -d, -f"$3"; }
dump_scalar() { grep -o "\"$2\": [-0-9]*" "$1" | head -n1 | tr -cd '0-9-'; }
wait_for_exit() {
  for _ in $(seq $((wait_s * 10))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  fail "the viewer did not end"
}

# The viewer started by hand on HOME ends through its normal exit when
# ACTION is done to its window: status 255 and doef.mem written.
ends_normally() {  # HOME ACTION
  local viewer window status=0
  "$wine_run" "$lumen" --home "$(winpath "$work/$1")" >/dev/null 2>&1 &
  viewer=$!
  window="$(viewer_window)"
  rm -f "$work/$1/doef.mem"
  "$2" "$window"
  wait_for_exit "$viewer"
  wait "$viewer" || status=$?
  if [ "$status" != 255 ] || [ ! -s "$work/$1/doef.mem" ]; then fail "$2: status $status, no doef.mem"; fi
  echo "$2: status 255, doef.mem written"
}

# Maximised, the picture the headless frame of the client's size, a key and
# a click change it; then the Exit button.
look_then_exit() {  # WINDOW
  width="$(geometry "$1" Width)"
  height="$(geometry "$1" Height)"
  if [ "$width" -ne 1024 ] || [ "$height" -ge 768 ] || [ "$height" -le 700 ]; then
    fail "client area ${width}x${height} is not the maximised one under a title bar"
  fi
  capture "$1" "$work/opened.png"
  printf 'shot %s\ndump %s\n' "$(winpath "$work/headless.png")" "$(winpath "$work/headless.json")" >"$work/shot.txt"
  "$wine_run" "$lumen" --home "$(winpath "$work/headless")" --headless "${width}x${height}" \
    --script "$(winpath "$work/shot.txt")" >/dev/null 2>&1 || true
  [ "$(differing "$work/opened.png" "$work/headless.png")" = 0 ] ||
    fail "the window's ${width}x${height} picture differs from the headless frame"
  echo "opened maximised, client ${width}x${height}, picture equal to the headless frame"

  xdotool key Down
  capture "$1" "$work/after-key.png"
  local changed clicked
  changed="$(differing "$work/opened.png" "$work/after-key.png")"
  [ "$changed" != 0 ] || fail "the key Down changed nothing"
  local -r dump="$work/headless.json"
  local browser_top
  browser_top="$(dump_number "$dump" browser 2)"
  xdotool mousemove --window "$1" $((width / 2)) $((browser_top + 10)) click 1
  capture "$1" "$work/after-click.png"
  clicked="$(differing "$work/after-key.png" "$work/after-click.png")"
  [ "$clicked" != 0 ] || fail "the click on the first row changed nothing"
  echo "key Down changed $changed pixels, a click on the first row $clicked"

  # Exit is the last button of the status line, at the browser's right edge.
  local unit
  unit="$(dump_scalar "$dump" buttonUnit)"
  xdotool mousemove --window "$1" \
    $(($(dump_number "$dump" browser 1) + $(dump_number "$dump" browser 3) - unit / 2)) \
    $((browser_top + $(dump_number "$dump" status 2) + $(dump_scalar "$dump" buttonHeight) / 2)) click 1
}
close_by_window_manager() { xdotool key alt+F4; }
restore() { wmctrl -i -r "$1" -b remove,maximized_vert,maximized_horz; }

echo "== started by hand"
ends_normally real look_then_exit
grep -q $'\r$' "$work/real/doef.mem" || fail "doef.mem has no CR LF line ends"
ends_normally wm-close close_by_window_manager
ends_normally restore restore

run_host() {  # HOME [CLOSE_WHEN_FILE]
  cp "$lumen" "$work/$1/lumen.exe"
  local close=()
  [ $# -gt 1 ] && close=("$(winpath "$2")")
  ("$wine_run" "$host" "$(winpath "$work/$1/lumen.exe")" "$(winpath "$work/$1/recording")" "${close[@]}" 2>&1 |
    tr -d '\r' >"$work/$1.log" || true) &
}

echo "== started by the acquisition program, minimised"
run_host host-minimise
hosted=$!
window="$(viewer_window)"
xdotool windowminimize "$window"
wait_for_exit "$hosted"
grep -q '^received 0x221 (0, 0)' "$work/host-minimise.log" || fail "no 0x221 broadcast: $(cat "$work/host-minimise.log")"
grep -q '^viewer ended -1$' "$work/host-minimise.log" || fail "$(cat "$work/host-minimise.log")"
tr '\n' ';' <"$work/host-minimise.log" && echo

echo "== started by the acquisition program, a beat relabelled, closed with 0x220"
run_host host-close "$work/close-now"
hosted=$!
window="$(viewer_window)"
xdotool key Right
xdotool key n
capture "$window" "$work/relabelled.png"
touch "$work/close-now"
wait_for_exit "$hosted"
grep -q '^sent 0x220$' "$work/host-close.log" || fail "0x220 not sent: $(cat "$work/host-close.log")"
grep -q '^viewer ended -1$' "$work/host-close.log" || fail "$(cat "$work/host-close.log")"
grep -q '0x221' "$work/host-close.log" && fail "0x221 broadcast although clean_wf.exe was due"
printf 'key Right\nkey N\n' >"$work/relabel.txt"
"$wine_run" "$lumen" --home "$(winpath "$work/relabel-headless")" --headless "${width}x${height}" \
  --script "$(winpath "$work/relabel.txt")" >/dev/null 2>&1 || true
cmp -s "$work/base/recording/holter.mem" "$work/host-close/recording/holter.mem" && fail "no correction saved"
cmp -s "$work/relabel-headless/recording/holter.mem" "$work/host-close/recording/holter.mem" ||
  fail "holter.mem differs from the same relabelling headless"
cmp -s "$work/relabel-headless/dore.mem" "$work/host-close/dore.mem" || fail "dore.mem differs"
echo "$(tr '\n' ';' <"$work/host-close.log") holter.mem and dore.mem ($(cat "$work/host-close/dore.mem")) as headless"
echo "desktop test passed"
