#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the same viewer scripts headless with the Linux lumen and with
# lumen.exe under Wine, on copies of one demo home, and compares what they
# leave: the state dumps (line ends aside), the files
# handed back (doef.mem, dore.mem, the recording's holter.mem), and the
# screenshots by structure (scripts/compare-screenshots.sh): everything but
# the glyphs must be equal pixel for pixel. The Linux lumen runs once more
# without any font to show where its glyphs are. Exit status 1 when
# anything differs.
#
#   scripts/windows-compare.sh LINUX_BUILD WIN64_BUILD
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux="$(realpath "$1")"
win64="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$linux/tools/holter/holter" demo "$work/base" --hours 4 >/dev/null
# fontconfig with no font directory: the Linux lumen draws no glyph.
cat >"$work/no-fonts.conf" <<EOF
<?xml version="1.0"?>
<fontconfig><dir>$work/no-fonts</dir><cachedir>$work/font-cache</cachedir></fontconfig>
EOF

# Browsing, relabelling, measuring, removing an event, the automatic step,
# the start screen on two screens, the three speeds and the zoomed browser;
# 1024x768 unless named here.
declare -A screens=([start-1920]=1920x1080)
declare -A scripts=(
  [start]=''
  [start-1920]=''
  [browse]=$'key Right\nkey Right\nkey Down\nkey Right\nwait 500'
  [relabel]=$'key Right\nkey V\nkey N\nbutton 2014\nbutton 2002'
  [measure]=$'press 200 600\nmove 300 600\nrelease 300 600\nbutton 2012\nbutton 2011'
  [remove]=$'key Down\nkey Down\nkey Right\nkey Delete'
  [autostep]=$'button 1000\nwait 1000\nbutton 1000'
  [speed50]=$'button 2012'
  [speed12]=$'button 2012\nbutton 2012'
  [zoom]=$'rclick 400 100'
)
failed=0
for name in $(printf '%s\n' "${!scripts[@]}" | sort); do
  screen="${screens[$name]:-1024x768}"
  for side in linux bare windows; do
    home="$work/$name-$side"
    cp -r "$work/base" "$home"
    if [ "$side" = windows ]; then
      winhome="Z:${home//\//\\}"
      printf '%s\r\n' "$winhome\\recording" >"$home/path.tmp"
      printf '%s\nshot %s\ndump %s\n' "${scripts[$name]}" "$winhome\\shot.png" "$winhome\\dump.json" >"$home/script.txt"
      "$root/cmake/wine-run.sh" "$win64/src/shell/lumen.exe" --home "$winhome" --headless "$screen" \
        --script "$winhome\\script.txt" 2>"$home/stderr" || true
    else
      printf '%s\n' "$home/recording" >"$home/path.tmp"
      printf '%s\nshot %s\ndump %s\n' "${scripts[$name]}" "$home/shot.png" "$home/dump.json" >"$home/script.txt"
      fonts=()
      [ "$side" = bare ] && fonts=(FONTCONFIG_FILE="$work/no-fonts.conf")
      env ASAN_OPTIONS=detect_leaks=0 "${fonts[@]}" "$linux/src/shell/lumen" --home "$home" --headless "$screen" \
        --script "$home/script.txt" 2>"$home/stderr" || true
    fi
  done
  a="$work/$name-linux"
  b="$work/$name-windows"
  if [ ! -s "$a/dump.json" ] || [ ! -s "$b/dump.json" ]; then echo "no dump: $name"; failed=1; fi
  if ! diff <(tr -d '\r' <"$a/dump.json") <(tr -d '\r' <"$b/dump.json") >"$work/dump.diff"; then
    echo "dump differs: $name"; head -n 5 "$work/dump.diff"; failed=1
  fi
  # The hand-over files are text (CR LF on Windows); the recording is bytes.
  for file in doef.mem dore.mem; do
    cmp -s <(tr -d '\r' 2>/dev/null <"$a/$file") <(tr -d '\r' 2>/dev/null <"$b/$file") ||
      { echo "$file differs: $name"; failed=1; }
  done
  cmp -s "$a/recording/holter.mem" "$b/recording/holter.mem" || { echo "recording/holter.mem differs: $name"; failed=1; }
  printf '%-11s ' "$name:"
  "$root/scripts/compare-screenshots.sh" "$work/$name-linux/shot.png" "$work/$name-bare/shot.png" \
    "$work/$name-windows/shot.png" || failed=1
done
[ "$failed" -eq 0 ] && echo "dumps, hand-over files and recordings equal, screenshots equal but for glyphs, on ${#scripts[@]} scripts"
exit "$failed"
