// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "platform/file/regular_file.h"

namespace lumen {

// Program and recording files are plain files; anything else standing in
// their place cannot be opened.
inline std::FILE* openPlainFile(const std::string& path, const char* mode) { return openRegularFile(path, mode); }

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
// An open file that is closed when its owner goes.
using PlainFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace lumen
