#!/usr/bin/env bash
# Runs the same viewer scripts headless with the Linux lumen and with
# lumen.exe under Wine, on copies of one demo home, and compares the state
# dumps (line ends and the home's path aside) and the files handed back
# (doef.mem, dore.mem). Exit status 1 when anything differs.
#
#   scripts/windows-compare-dumps.sh LINUX_BUILD WIN64_BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux="$(realpath "$1")"
win64="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$linux/tools/holter/holter" demo "$work/base" --hours 4 >/dev/null

# Browsing, relabelling, measuring, removing an event, the title pane.
declare -A scripts=(
  [browse]=$'key Right\nkey Right\nkey Down\nkey Right\nwait 500\ndump DUMP'
  [relabel]=$'key Right\nkey V\nkey N\nbutton 2014\nbutton 2002\ndump DUMP'
  [measure]=$'press 200 600\nmove 300 600\nrelease 300 600\nbutton 2012\nbutton 2011\ndump DUMP'
  [remove]=$'key Down\nkey Down\nkey Right\nkey Delete\ndump DUMP'
  [autostep]=$'button 1000\nwait 1000\nbutton 1000\ndump DUMP'
)
failed=0
for name in "${!scripts[@]}"; do
  for side in linux windows; do
    home="$work/$name-$side"
    cp -r "$work/base" "$home"
    if [ "$side" = linux ]; then
      printf '%s\n' "$home/recording" >"$home/path.tmp"
      printf '%s\n' "${scripts[$name]//DUMP/$home/dump.json}" >"$home/script.txt"
      "$linux/src/shell/lumen" --home "$home" --headless 1024x768 --script "$home/script.txt" 2>"$home/stderr" || true
    else
      winhome="Z:${home//\//\\}"
      printf '%s\r\n' "$winhome\\recording" >"$home/path.tmp"
      printf '%s\n' "${scripts[$name]//DUMP/$winhome\\dump.json}" >"$home/script.txt"
      "$root/cmake/wine-run.sh" "$win64/src/shell/lumen.exe" --home "$winhome" --headless 1024x768 \
        --script "$winhome\\script.txt" 2>"$home/stderr" || true
    fi
  done
  a="$work/$name-linux"
  b="$work/$name-windows"
  if ! diff <(tr -d '\r' <"$a/dump.json") <(tr -d '\r' <"$b/dump.json") >/dev/null; then
    echo "dump differs: $name"; diff <(tr -d '\r' <"$a/dump.json") <(tr -d '\r' <"$b/dump.json") | head -5; failed=1
  fi
  # The hand-over files are text (CR LF on Windows); the recording is bytes.
  for file in doef.mem dore.mem; do
    if ! cmp -s <(tr -d '\r' 2>/dev/null <"$a/$file") <(tr -d '\r' 2>/dev/null <"$b/$file"); then
      echo "$file differs: $name"; failed=1
    fi
  done
  if ! cmp -s "$a/recording/holter.mem" "$b/recording/holter.mem"; then
    echo "recording/holter.mem differs: $name"; failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "state dumps, doef.mem, dore.mem and holter.mem equal on ${#scripts[@]} scripts"
exit "$failed"
