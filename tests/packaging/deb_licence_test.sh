#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of BUILD (built already) as cpack makes it, checked by
# lintian: no tag about its copyright file or licence, at any level, and the
# copyright file it carries is the machine-readable GPL-3+ one. Exit status
# 77 (skipped) without lintian or dpkg-deb.
#
#   tests/packaging/deb_licence_test.sh BUILD
set -euo pipefail
build="$(realpath "$1")"
for tool in lintian dpkg-deb cpack; do
  command -v "$tool" >/dev/null || { echo "deb test: $tool is missing, skipped"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb="$(ls "$work"/lumen_*.deb)"
dpkg-deb -x "$deb" "$work/root"
copyright="$work/root/usr/share/doc/lumen/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  { echo "deb test: the copyright file is not machine-readable"; exit 1; }
grep -q '^License: GPL-3+' "$copyright" || { echo "deb test: the copyright file names no GPL-3+"; exit 1; }
tags="$(lintian --no-tag-display-limit --display-info "$deb" 2>&1 | grep -Ei 'copyright|licen[cs]e' || true)"
if [ -n "$tags" ]; then
  echo "deb test: lintian has something to say about the licence:"; echo "$tags"; exit 1
fi
echo "deb test: $(basename "$deb"): machine-readable GPL-3+ copyright, no licence tag from lintian"
