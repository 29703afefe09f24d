#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares two screenshots of the same screen whose glyphs come from
# different rasterisers (FreeType on Linux, GDI on Windows) by structure:
# grid, traces, beat marks, frames and button faces must be equal pixel for
# pixel, glyphs may differ.
#
#   scripts/compare-screenshots.sh [-v] LINUX.png BARE.png OTHER.png
#
# BARE.png is the same screen drawn by the same Linux program without any
# font (an empty fontconfig configuration), so it holds everything but the
# glyphs. The pixels where LINUX.png and BARE.png differ are the glyphs and
# their backgrounds; grown by GLYPH_REACH pixels they are the glyph zone.
# The pixels where LINUX.png and OTHER.png differ are grouped into
# 8-connected regions; the screens are structurally equal when every
# differing pixel lies in the glyph zone. GDI's glyphs reach at most 2
# pixels beyond FreeType's at the viewer's sizes: on the ten scripts of
# windows-compare.sh 1598 to 1878 differing pixels lie beyond
# FreeType's glyphs, 6 or 7 more than 1 pixel beyond ("mm/mV", the title),
# none more than 2 (GLYPH_REACH=N in the environment measures another).
#
# Prints one line: the glyphs' share of the screen, the regions, their
# pixels and share of the screen, the largest region's box; then the largest
# ten regions outside the glyph zone (with -v, every region). Exit status 1
# when a region lies outside the glyph zone, 2 when the pictures cannot be
# compared.
set -euo pipefail
GLYPH_REACH="${GLYPH_REACH:-2}"
MOST_GLYPH_PERCENT=10
verbose=0
[ "${1:-}" = -v ] && { verbose=1; shift; }
[ $# -eq 3 ] || { echo "usage: $0 [-v] LINUX.png BARE.png OTHER.png" >&2; exit 2; }
linux="$1" bare="$2" other="$3"
for picture in "$linux" "$bare" "$other"; do
  [ -s "$picture" ] || { echo "no picture $picture" >&2; exit 2; }
done
size() { identify -format '%wx%h' "$1"; }
for picture in "$bare" "$other"; do
  [ "$(size "$picture")" = "$(size "$linux")" ] ||
    { echo "$picture is $(size "$picture"), $linux is $(size "$linux")" >&2; exit 2; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# mask A B OUT: white where any channel of A and B differs, black elsewhere.
mask() {
  compare -fuzz 0 -highlight-color white -lowlight-color black -compose src "$1" "$2" "$3" 2>/dev/null || true
  convert "$3" -colorspace gray -threshold 50% "$3"
}
mask "$linux" "$other" "$work/differ.png"
mask "$linux" "$bare" "$work/glyphs.png"
# A bare picture that lost more than glyphs (a failed run, a blank screen)
# would excuse everything: glyphs cover 2.7 to 3.4 % of the viewer's screen.
glyph_share="$(convert "$work/glyphs.png" -format '%[fx:100 * mean]' info:)"
awk -v g="$glyph_share" -v most="$MOST_GLYPH_PERCENT" 'BEGIN { exit !(g <= most) }' ||
  { echo "$bare differs from $linux in $glyph_share % of the screen: more than glyphs" >&2; exit 2; }
if [ "$GLYPH_REACH" -gt 0 ]; then
  convert "$work/glyphs.png" -morphology Dilate "Square:$GLYPH_REACH" "$work/zone.png"
else
  cp "$work/glyphs.png" "$work/zone.png"
fi
convert "$work/differ.png" \( "$work/zone.png" -negate \) -compose multiply -composite "$work/outside.png"

# regions PICTURE: one line per white 8-connected region: BOX PIXELS.
regions() {
  convert "$1" -define connected-components:verbose=true -connected-components 8 null: |
    awk 'NR > 1 && $NF ~ /255/ { print $2, $4 }'
}
regions "$work/differ.png" >"$work/differ.txt"
regions "$work/outside.png" >"$work/outside.txt"

read -r width height < <(identify -format '%w %h\n' "$linux")
count="$(wc -l <"$work/differ.txt")"
pixels="$(awk '{ sum += $2 } END { print sum + 0 }' "$work/differ.txt")"
largest="$(awk '{ split($1, b, /[x+]/); if (b[1] * b[2] > most) { most = b[1] * b[2]; box = $1 } }
  END { print box == "" ? "none" : box }' "$work/differ.txt")"
outside="$(wc -l <"$work/outside.txt")"
strays="$(awk '{ sum += $2 } END { print sum + 0 }' "$work/outside.txt")"
printf 'glyphs %.2f %%; %d regions, %d pixels = %.2f %% of the screen, largest %s; %d regions (%d pixels) outside the glyphs\n' \
  "$glyph_share" "$count" "$pixels" "$(awk -v p="$pixels" -v a=$((width * height)) 'BEGIN { print 100 * p / a }')" \
  "$largest" "$outside" "$strays"
# The largest ten, ImageMagick lists regions by area.
awk 'NR <= 10 { print "  not a glyph:", $1, $2, "pixels" } NR == 11 { print "  ..." }' "$work/outside.txt"
[ "$verbose" -eq 1 ] && awk '{ print "  region:", $1, $2, "pixels" }' "$work/differ.txt"
[ "$outside" -eq 0 ]
