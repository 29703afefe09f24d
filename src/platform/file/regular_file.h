// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <string>

namespace lumen {

// Opens a program or recording file only when it is a plain file; mode is
// one of "rb", "rt", "r+b", "wb", "wt". A folder, pipe or device standing in
// its place counts as a file that cannot be opened: a folder would read as
// an empty file and a pipe would wait for a writer forever. The check and
// the open are one step, so nothing can be swapped in between.
std::FILE* openRegularFile(const std::string& path, const char* mode);

}  // namespace lumen
