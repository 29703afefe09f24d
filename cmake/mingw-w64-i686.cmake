# Cross build for 32-bit Windows (the original's platform), compiled only:
# Debian's 32-bit Wine cannot sit beside the 64-bit one on the CI image.
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(LUMEN_MINGW_TRIPLE i686-w64-mingw32)
set(LUMEN_MINGW_PROCESSOR X86)
set(LUMEN_MINGW_NO_EMULATOR ON)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
