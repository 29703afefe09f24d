#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the optimised programs in build/ and the Debian package from them,
# then checks the package with lintian (any error fails).
#
#   scripts/package.sh [BUILD_DIR]        (default: build/ of the repository)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEN_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target lumen holter clean_wf debian_documents
(cd "$build" && cpack -G DEB)
if command -v lintian >/dev/null; then
  lintian --fail-on error "$build"/lumen_*.deb
else
  echo "package.sh: lintian is missing (apt-get install lintian); the package is not checked" >&2
fi
