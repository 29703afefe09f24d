#!/usr/bin/env bash
# Builds Lumen, writes a 24-hour demo recording into demo-home/ and opens it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$(nproc)" --target holter
home="$root/demo-home"
[ -f "$home/recording/holter.mem" ] || "$root/build/tools/holter/holter" demo "$home"
"$root/build/tools/holter/holter" info --home "$home"
