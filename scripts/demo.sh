#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lumen, writes a 24-hour demo recording into demo-home/ and opens it
# in the viewer. Without a display, a short tour is rendered headless into
# PNG files instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Only the programs: the tests and benchmarks need the tools of
# packages-test.txt, which scripts/test.sh installs.
cmake -S "$root" -B "$root/build" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMEN_BUILD_TESTS=OFF -DLUMEN_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target holter lumen
home="$root/demo-home"
[ -f "$home/recording/holter.mem" ] || "$root/build/tools/holter/holter" demo "$home"
lumen="$root/build/src/shell/lumen"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$lumen" --home "$home"
fi

echo "No display found: rendering a short tour of the demo recording instead."
tour="$home/tour"
mkdir -p "$tour"
cat > "$tour/tour.script" <<SCRIPT
shot $tour/1-start.png
key Right
key Right
shot $tour/2-next-event.png
key Down
key Down
shot $tour/3-next-row.png
button 2012
shot $tour/4-speed-50mm.png
rclick 400 100
shot $tour/5-zoomed-rows.png
SCRIPT
# The viewer always ends with status 255: its exit code is -1.
"$lumen" --home "$home" --headless 1024x768 --script "$tour/tour.script" || [ $? -eq 255 ]
ls "$tour"/*.png
