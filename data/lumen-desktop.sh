#!/bin/sh
# Starts Lumen from the desktop on the program home $LUMEN_HOME (by default
# ~/.lumen). An acquisition program hands recordings over through that
# folder; on the very first start it is filled with the 24-hour demo.
set -e
home="${LUMEN_HOME:-$HOME/.lumen}"
if [ ! -f "$home/path.tmp" ]; then
  holter demo "$home"
fi
exec lumen --home "$home" "$@"
