#pragma once
#include <cstdio>
#include <string>

#include "platform/file/regular_file.h"

namespace lumen {

// Program and recording files are plain files; anything else standing in
// their place cannot be opened.
inline std::FILE* openPlainFile(const std::string& path, const char* mode) { return openRegularFile(path, mode); }

}  // namespace lumen
