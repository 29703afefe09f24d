#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine for CTest and the scripts (64-bit and,
# with wine32 installed, 32-bit programs in the same 64-bit prefix): one prefix,
# made once and reused (WINEPREFIX, default ~/.wine-lumen), no Mono or Gecko
# installer dialogs, no debug chatter, and a UTF-8 locale.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-lumen}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LC_ALL=C.UTF-8
wine="$(command -v wine64 || command -v wine)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Two first runs at once would both make the prefix.
  (flock 9; [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -u >/dev/null 2>&1) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
