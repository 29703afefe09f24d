# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 32-bit Windows; its tests run under Wine's 32-bit half
# (wine32:i386, which scripts/windows.sh installs beside the 64-bit one).
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(LUMEN_MINGW_TRIPLE i686-w64-mingw32)
set(LUMEN_MINGW_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
