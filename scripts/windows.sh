#!/usr/bin/env bash
# The Windows build, tested here: cross-compiles Lumen with MinGW-w64
# (x86_64 Release, and the i686 programs compiled only), runs the test
# suite under Wine headless through CTest, compares the state dumps of the
# same viewer scripts with the Linux build's, and packs the zip and the
# NSIS installer into build-win64/package/.
#
#   LUMEN_LINUX_BUILD=build-test scripts/windows.sh
#
# LUMEN_LINUX_BUILD names the Linux build whose lumen and holter the dumps
# are compared with (skipped when it has none). The Wine prefix is made once
# in build-win64/wine-prefix and reused.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" packages-windows.txt
started="$(date +%s)"
win64="$root/build-win64"
win32="$root/build-win32"
export WINEPREFIX="${WINEPREFIX:-$win64/wine-prefix}"
jobs=2

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

echo "== cross build x86_64"
cmake -S . -B "$win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLUMEN_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$win64" -j"$jobs"

echo "== cross build i686 (compiled, not run)"
cmake -S . -B "$win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLUMEN_BUILD_TESTS=OFF -DLUMEN_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$win32" -j"$jobs" --target holter lumen

echo "== test suite under Wine"
"$root/cmake/wine-run.sh" cmd /c exit 0 || true  # makes the prefix once
ctest --test-dir "$win64" -j"$jobs" --timeout 900 --output-on-failure | tee "$win64/ctest-wine.log" | tail -n 25
grep -E 'tests passed' "$win64/ctest-wine.log"

linux="${LUMEN_LINUX_BUILD:-}"
if [ -n "$linux" ] && [ -x "$linux/src/shell/lumen" ]; then
  echo "== state dumps: Linux and Windows on the same scripts"
  "$root/scripts/windows-compare-dumps.sh" "$linux" "$win64"
else
  echo "== state dumps: skipped (LUMEN_LINUX_BUILD names no Linux build)"
fi

echo "== packages"
version="$(sed -n 's/^project(Lumen VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
stage="$win64/package/lumen-$version-win64"
rm -rf "$win64/package" && mkdir -p "$stage/docs"
cp "$win64/src/shell/lumen.exe" "$win64/tools/holter/holter.exe" packaging/windows/lumen-desktop.cmd "$stage/"
cp README.md "$stage/README.md"
cp docs/*.md "$stage/docs/"
(cd "$win64/package" && zip -qr "lumen-$version-win64.zip" "lumen-$version-win64")
makensis -V2 -DSTAGE="$stage" -DVERSION="$version" -DOUTFILE="$win64/package/lumen-$version-setup.exe" \
  packaging/windows/lumen.nsi
ls -l "$win64/package"/*.zip "$win64/package"/*.exe
echo "windows.sh took $(( $(date +%s) - started )) s"
