#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# libsoxr for the Windows build: Debian's source of the version the Linux
# build links, cross-compiled with MinGW-w64 into a static library under
# PREFIX (made once, then reused). Debian ships no Windows build of it.
#
#   scripts/windows-soxr.sh TOOLCHAIN_FILE PREFIX
#
# Exit status 1 when the source cannot be had; the Windows build then goes
# without resampling.
set -euo pipefail
toolchain="$(realpath "$1")"
prefix="$(realpath -m "$2")"
[ -f "$prefix/lib/libsoxr.a" ] && [ -f "$prefix/include/soxr.h" ] && exit 0
work="$prefix.work"
rm -rf "$work" && mkdir -p "$work" && cd "$work"

# The source index comes from the mirrors the binary packages come from.
enable_sources() {
  local deb822=/etc/apt/sources.list.d/debian.sources
  if [ -f "$deb822" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$deb822" >/etc/apt/sources.list.d/lumen-deb-src.sources
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/lumen-deb-src.list
  fi
  apt-get update -qq
}
if ! apt-get source --download-only -qq libsoxr >/dev/null 2>&1; then
  [ "$(id -u)" -eq 0 ] || { echo "windows-soxr: no deb-src index and not root" >&2; exit 1; }
  enable_sources
  apt-get source --download-only -qq libsoxr >/dev/null
fi
dpkg-source -x libsoxr_*.dsc source >/dev/null
cmake -S source -B build -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DLUMEN_MINGW_NO_EMULATOR=ON \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DWITH_OPENMP=OFF -DBUILD_TESTS=OFF \
  -DWITH_LSR_BINDINGS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >build.log 2>&1 || { tail -n 20 build.log; exit 1; }
cmake --build build -j"$(nproc)" >>build.log 2>&1 || { tail -n 20 build.log; exit 1; }
cmake --install build >>build.log 2>&1
cd / && rm -rf "$work"
