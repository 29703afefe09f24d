#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Linux desktop integration as installed from data/:
#  1. lumen.desktop passes desktop-file-validate, starts lumen-desktop with
#     the file (%f) and lists exactly the types lumen-mime.xml defines.
#  2. lumen-mime.xml is well-formed (xmllint) and update-mime-database
#     builds a database from it beside freedesktop's own types, in which
#     .edf, .bdf, .hea and .ecg map to our types and ISHNE has its magic.
#  3. lumen-desktop without an argument opens the program home (filled with
#     the demo once); with a file it hands that file alone to lumen.
# A missing checker is skipped with a message.
#
#   tests/platform/desktop/desktop_files_test.sh SOURCE_DIR
set -euo pipefail
root="$(realpath "$1")"
desktop="$root/data/lumen.desktop"
mime="$root/data/lumen-mime.xml"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: desktop files: $*" >&2; exit 1; }

echo "== desktop entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "$desktop does not validate"
else
  echo "skipped: desktop-file-validate is missing (apt-get install desktop-file-utils)"
fi
grep -qx 'Exec=lumen-desktop %f' "$desktop" || fail "$desktop does not start lumen-desktop with the file (%f)"
listed="$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d' | sort)"
defined="$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime" | sort)"
[ -n "$defined" ] && [ "$listed" = "$defined" ] ||
  fail "MimeType= of $desktop ($(echo $listed)) is not what $mime defines ($(echo $defined))"

echo "== shared MIME info"
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" || fail "$mime is not well-formed XML"
else
  echo "skipped: xmllint is missing (apt-get install libxml2-utils)"
fi
if command -v update-mime-database >/dev/null; then
  mkdir -p "$work/mime/packages"
  cp "$mime" "$work/mime/packages/lumen.xml"
  system=/usr/share/mime/packages/freedesktop.org.xml
  [ -f "$system" ] && cp "$system" "$work/mime/packages/"
  XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/mime.log" || fail "update-mime-database refuses $mime: $(cat "$work/mime.log")"
  [ ! -s "$work/mime.log" ] || fail "update-mime-database warns about $mime: $(cat "$work/mime.log")"
  for pair in edf:application/x-edf bdf:application/x-bdf hea:application/x-wfdb-header ecg:application/x-ishne-holter; do
    grep -q ":${pair#*:}:\*\.${pair%%:*}$" "$work/mime/globs2" || fail "*.${pair%%:*} is not ${pair#*:} in the built database"
  done
  grep -aq 'ISHNE1\.0' "$work/mime/magic" || fail "the built database has no ISHNE magic"
else
  echo "skipped: update-mime-database is missing (apt-get install shared-mime-info)"
fi

echo "== lumen-desktop"
mkdir -p "$work/bin"
for program in lumen holter; do
  printf '#!/bin/sh\nprintf "%%s|" %s "$@" >> "%s/calls"\necho >> "%s/calls"\n' "$program" "$work" "$work" \
    >"$work/bin/$program"
  chmod +x "$work/bin/$program"
done
starter() { : >"$work/calls"; (cd "$work" && PATH="$work/bin:$PATH" LUMEN_HOME="$work/home" sh "$root/data/lumen-desktop.sh" "$@"); }
starter
[ "$(cat "$work/calls")" = "holter|demo|$work/home|
lumen|--home|$work/home|" ] || fail "without a file: $(cat "$work/calls")"
starter "My file.edf"
[ "$(cat "$work/calls")" = "lumen|./My file.edf|" ] || fail "with a relative file: $(cat "$work/calls")"
starter "/data/mitdb/208"
[ "$(cat "$work/calls")" = "lumen|/data/mitdb/208|" ] || fail "with an absolute file: $(cat "$work/calls")"
echo "desktop files test passed"
