#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file lacks the licence line of the project in its
# first two lines (after a #! line), or when the licence, the third-party
# notices or the Debian copyright file are missing or name another licence.
#
#   scripts/check-licence.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
readonly spdx='SPDX-License-Identifier: GPL-3.0-or-later'
status=0

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files)
else
  mapfile -t files < <(find . -type f -not -path './build*' -not -path './.git/*' | sed 's|^\./||')
fi
missing=0
for file in "${files[@]}"; do
  case "$file" in
    *.cpp|*.h|*.inc|*.c|*.rc|*.cmake|*/CMakeLists.txt|CMakeLists.txt|*.sh|*.py|*.nsi|*.cmd|data/man/*.1|.ci/run) ;;
    *) continue ;;
  esac
  [ -f "$file" ] || continue
  if ! head -n 3 "$file" | grep -q "$spdx"; then
    echo "$file: no \"$spdx\" line at its top" >&2
    missing=$((missing + 1))
  fi
done
[ "$missing" -eq 0 ] || status=1

grep -q 'GNU GENERAL PUBLIC LICENSE' LICENSE && grep -q 'Version 3, 29 June 2007' LICENSE ||
  { echo "LICENSE is not the GNU GPL version 3" >&2; status=1; }
[ -s THIRD-PARTY.md ] || { echo "THIRD-PARTY.md is missing" >&2; status=1; }
grep -q '^License: GPL-3+' data/debian/copyright ||
  { echo "data/debian/copyright names no GPL-3+ licence" >&2; status=1; }
[ "$status" -eq 0 ] && echo "licence: ${#files[@]} files looked at, every source file carries the licence line"
exit "$status"
