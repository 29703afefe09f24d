# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUTPUT, a C++ source that holds data/buttons/faces.txt and
# words.txt as raw strings, so the program needs no data files.
# Usage: cmake -DDATA_DIR=... -DOUTPUT=... -P embed_button_files.cmake
set(delimiter "lumen_buttons")
set(body "")
foreach(name faces words)
  file(READ "${DATA_DIR}/${name}.txt" content)
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${name}.txt contains the raw-string delimiter")
  endif()
  string(APPEND body "    if (name == \"${name}\") return R\"${delimiter}(${content})${delimiter}\";\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from data/buttons by embed_button_files.cmake; do not edit.
#include \"shell/embedded_button_files.h\"

namespace lumen {

std::string_view embeddedButtonFile(std::string_view name) {
${body}    return {};
}

}  // namespace lumen
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
