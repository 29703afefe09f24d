# SPDX-License-Identifier: GPL-3.0-or-later
# Optional features: each system library Lumen can use is looked for once
# here. A library that is missing turns its feature off with a message; it
# never fails the configure. Code that needs a feature is compiled only when
# the feature is on (the folders' CMakeLists choose their sources by the
# LUMEN_HAVE_* variables below).
#
#   LUMEN_HAVE_SDL        SdlDriver, a real window on Linux (SDL2)
#   LUMEN_HAVE_X11        UTF-8 window titles written to X11 directly
#   LUMEN_HAVE_FREETYPE   raster text through fontconfig and FreeType
#   LUMEN_HAVE_PNG        PNG files through libpng (else our own encoder)
#   LUMEN_HAVE_PDF        PDF pages through cairo (print jobs, --print-to)
#   LUMEN_HAVE_CUPS       the CUPS printer list and job submission
#   LUMEN_HAVE_DBUS       window messages between programs on the session bus
#   LUMEN_HAVE_SOXR       resampling of imported signals (libsoxr)
#   LUMEN_HAVE_EDF        EDF/BDF import and export (EDFlib)
#   LUMEN_HAVE_BIOSIG     every other format libbiosig reads (SCP-ECG, HL7
#                         aECG, DICOM waveform, GDF, MFER...), in a child
#                         process (holter biosig)
#   LUMEN_HAVE_WIN32      the native Windows back-end (USER32, GDI32, WINSPOOL)
#
# Each can be refused on purpose with -DLUMEN_WITH_<NAME>=OFF.

include(FeatureSummary)
find_package(PkgConfig QUIET)

set(LUMEN_FEATURES SDL X11 FREETYPE PNG PDF CUPS DBUS SOXR EDF BIOSIG WIN32)
foreach(feature IN LISTS LUMEN_FEATURES)
  option(LUMEN_WITH_${feature} "Use ${feature} when it is found" ON)
  set(LUMEN_HAVE_${feature} OFF)
endforeach()

function(_lumen_feature_result feature found why)
  if(found)
    set(LUMEN_HAVE_${feature} ON PARENT_SCOPE)
    message(STATUS "Lumen feature ${feature}: on")
  else()
    message(STATUS "Lumen feature ${feature}: off (${why})")
  endif()
endfunction()

macro(_lumen_pkg feature module_list)
  if(NOT LUMEN_WITH_${feature})
    _lumen_feature_result(${feature} OFF "LUMEN_WITH_${feature}=OFF")
  elseif(NOT PKG_CONFIG_FOUND)
    _lumen_feature_result(${feature} OFF "no pkg-config")
  else()
    pkg_check_modules(LUMEN_${feature} QUIET IMPORTED_TARGET GLOBAL ${module_list})
    _lumen_feature_result(${feature} "${LUMEN_${feature}_FOUND}" "pkg-config found no ${module_list}")
  endif()
endmacro()

if(WIN32)
  # The Linux back-ends make no sense there, even when a cross sysroot
  # happens to hold their headers. libbiosig has no MinGW build here: the
  # formats only it reads are refused there with a message.
  foreach(feature SDL X11 FREETYPE PNG PDF CUPS DBUS EDF BIOSIG)
    _lumen_feature_result(${feature} OFF "not on Windows")
  endforeach()
  # libsoxr cross-built under LUMEN_SOXR_ROOT (scripts/windows-soxr.sh);
  # never the build machine's own.
  if(LUMEN_WITH_SOXR AND LUMEN_SOXR_ROOT)
    find_library(LUMEN_SOXR_LIBRARY soxr PATHS ${LUMEN_SOXR_ROOT}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    find_path(LUMEN_SOXR_INCLUDE soxr.h PATHS ${LUMEN_SOXR_ROOT}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  endif()
  if(LUMEN_SOXR_LIBRARY AND LUMEN_SOXR_INCLUDE)
    add_library(PkgConfig::LUMEN_SOXR INTERFACE IMPORTED GLOBAL)
    set_target_properties(PkgConfig::LUMEN_SOXR PROPERTIES INTERFACE_LINK_LIBRARIES "${LUMEN_SOXR_LIBRARY}"
                                                            INTERFACE_INCLUDE_DIRECTORIES "${LUMEN_SOXR_INCLUDE}")
    _lumen_feature_result(SOXR ON "")
  else()
    _lumen_feature_result(SOXR OFF "LUMEN_SOXR_ROOT names no cross-built libsoxr")
  endif()
  _lumen_feature_result(WIN32 ${LUMEN_WITH_WIN32} "LUMEN_WITH_WIN32=OFF")
  # <windows.h> without its min/max macros and rarely used parts, the same
  # in every file that includes it; <cmath>'s M_PI as glibc gives it.
  add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 _USE_MATH_DEFINES)
  return()
endif()
_lumen_feature_result(WIN32 OFF "not Windows")

if(LUMEN_WITH_SDL)
  find_package(SDL2 QUIET)
  _lumen_feature_result(SDL "${SDL2_FOUND}" "SDL2 not found")
else()
  _lumen_feature_result(SDL OFF "LUMEN_WITH_SDL=OFF")
endif()

if(LUMEN_WITH_X11 AND LUMEN_HAVE_SDL)
  find_package(X11 QUIET)
  _lumen_feature_result(X11 "${X11_FOUND}" "Xlib not found")
else()
  _lumen_feature_result(X11 OFF "needs SDL and LUMEN_WITH_X11")
endif()

if(LUMEN_WITH_FREETYPE)
  find_package(Freetype QUIET)
  find_package(Fontconfig QUIET)
  if(FREETYPE_FOUND AND Fontconfig_FOUND)
    _lumen_feature_result(FREETYPE ON "")
  else()
    _lumen_feature_result(FREETYPE OFF "FreeType or fontconfig not found")
  endif()
else()
  _lumen_feature_result(FREETYPE OFF "LUMEN_WITH_FREETYPE=OFF")
endif()

if(LUMEN_WITH_PNG)
  find_package(PNG QUIET)
  _lumen_feature_result(PNG "${PNG_FOUND}" "libpng not found; PNG files use our own encoder")
else()
  _lumen_feature_result(PNG OFF "LUMEN_WITH_PNG=OFF")
endif()

# cairo's FreeType fonts are the PDF pages' text, so PDF needs FREETYPE too.
if(LUMEN_HAVE_FREETYPE)
  _lumen_pkg(PDF "cairo;cairo-pdf;cairo-ft")
else()
  _lumen_feature_result(PDF OFF "needs FREETYPE")
endif()

if(LUMEN_WITH_CUPS AND LUMEN_HAVE_PDF)
  find_package(Cups QUIET)
  _lumen_feature_result(CUPS "${CUPS_FOUND}" "libcups not found")
else()
  _lumen_feature_result(CUPS OFF "needs PDF and LUMEN_WITH_CUPS")
endif()

_lumen_pkg(DBUS dbus-1)
_lumen_pkg(SOXR soxr)

# A library found by its file and header (LUMEN_<feature>_LIBRARY and
# LUMEN_<feature>_INCLUDE). libbiosig is found so because its pkg-config
# file gives malformed flags (-D=...).
macro(_lumen_find feature library header why)
  if(LUMEN_WITH_${feature})
    find_library(LUMEN_${feature}_LIBRARY ${library})
    find_path(LUMEN_${feature}_INCLUDE ${header})
    if(LUMEN_${feature}_LIBRARY AND LUMEN_${feature}_INCLUDE)
      _lumen_feature_result(${feature} ON "")
    else()
      _lumen_feature_result(${feature} OFF "${why}")
    endif()
  else()
    _lumen_feature_result(${feature} OFF "LUMEN_WITH_${feature}=OFF")
  endif()
endmacro()
_lumen_find(EDF edf edflib.h "EDFlib (libedf-dev) not found")
_lumen_find(BIOSIG biosig biosig.h "libbiosig (libbiosig-dev) not found")
