#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a picture of docs/ is no longer what scripts/docs-pictures.sh
# makes from the current build (or when one is missing or left over): the
# pictures are made afresh in a temporary folder and compared pixel by
# pixel (byte for byte when ImageMagick's compare is missing).
#
#   scripts/check-docs-pictures.sh        BUILD_DIR=DIR as for docs-pictures.sh
# After a deliberate change of the rendering: scripts/docs-pictures.sh, and
# commit the new pictures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fresh="$(mktemp -d "${TMPDIR:-/tmp}/lumen-docs-check.XXXXXX")"
trap 'rm -rf "$fresh"' EXIT
"$root/scripts/docs-pictures.sh" "$fresh" >/dev/null

same() {
  cmp -s "$1" "$2" && return 0
  command -v compare >/dev/null || return 1
  local differing
  differing="$(compare -metric AE "$1" "$2" null: 2>&1 || true)"
  [ "$differing" = 0 ]
}

stale=0
for picture in "$fresh"/*.png; do
  name="$(basename "$picture")"
  if [ ! -f "$root/docs/$name" ]; then
    echo "docs/$name is missing" >&2
    stale=1
  elif ! same "$picture" "$root/docs/$name"; then
    echo "docs/$name differs from what scripts/docs-pictures.sh makes now" >&2
    stale=1
  fi
done
for picture in "$root"/docs/*.png; do
  [ -f "$fresh/$(basename "$picture")" ] || { echo "$picture is made by no script" >&2; stale=1; }
done
if [ "$stale" -ne 0 ]; then
  echo "docs pictures: stale; run scripts/docs-pictures.sh and commit them" >&2
  exit 1
fi
echo "docs pictures: $(ls "$fresh"/*.png | wc -l) up to date"
