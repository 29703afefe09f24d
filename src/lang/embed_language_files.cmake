# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUTPUT, a C++ source that holds every data/lang/language_NN.txt
# found in DATA_DIR as a raw string, so the program needs no data files.
# Usage: cmake -DDATA_DIR=... -DOUTPUT=... -P embed_language_files.cmake
set(delimiter "lumen_lang")
set(body "")
foreach(number RANGE 1 13)
  if(number LESS 10)
    set(padded "0${number}")
  else()
    set(padded "${number}")
  endif()
  set(file "${DATA_DIR}/language_${padded}.txt")
  if(EXISTS "${file}")
    file(READ "${file}" content)
    string(FIND "${content}" ")${delimiter}\"" clash)
    if(NOT clash EQUAL -1)
      message(FATAL_ERROR "${file} contains the raw-string delimiter")
    endif()
    string(APPEND body "    case ${number}:\n        return R\"${delimiter}(${content})${delimiter}\";\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from data/lang by embed_language_files.cmake; do not edit.
#include \"lang/embedded_language_files.h\"

namespace lumen {

std::string_view embeddedLanguageFile(int32_t languageNumber) {
    switch (languageNumber) {
${body}    default:
        return {};
    }
}

}  // namespace lumen
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
