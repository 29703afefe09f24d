#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Lumen from the desktop. With a recording file (opened from the file
# manager) the viewer imports and opens that file. Without one it opens the
# program home $LUMEN_HOME (by default ~/.lumen): an acquisition program
# hands recordings over through that folder; on the very first start it is
# filled with the 24-hour demo.
set -e
if [ $# -gt 0 ]; then
  recording="$1"
  case "$recording" in
    /*) ;;
    # A relative name such as "208" is never read as a printer number.
    *) recording="./$recording" ;;
  esac
  exec lumen "$recording"
fi
home="${LUMEN_HOME:-$HOME/.lumen}"
if [ ! -f "$home/path.tmp" ]; then
  holter demo "$home"
fi
exec lumen --home "$home"
