// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/utf8_path.h"

#include <cstdio>

namespace lumen {

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

#ifdef _WIN32

std::FILE* openFile(const std::string& utf8Path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(pathFromUtf8(utf8Path).c_str(), wideMode.c_str());
}

bool removeFile(const std::string& utf8Path) { return _wremove(pathFromUtf8(utf8Path).c_str()) == 0; }

#else

std::FILE* openFile(const std::string& utf8Path, const char* mode) { return std::fopen(utf8Path.c_str(), mode); }

bool removeFile(const std::string& utf8Path) { return std::remove(utf8Path.c_str()) == 0; }

#endif

}  // namespace lumen
