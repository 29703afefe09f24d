// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumen {

// Paths travel through the program as UTF-8. On Windows the narrow C calls
// and a std::filesystem::path made from a std::string read their bytes in
// the ANSI code page, so a home under C:\Users\Müller\ would name another
// file or none; these keep the text whole on every system.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen and std::remove of a UTF-8 path (_wfopen and _wremove on Windows).
std::FILE* openFile(const std::string& utf8Path, const char* mode);
bool removeFile(const std::string& utf8Path);

}  // namespace lumen
