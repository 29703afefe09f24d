#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace lumen {

// Opens a program or recording file only when it is a plain file. A folder,
// pipe or device standing in its place counts as a file that cannot be
// opened: a folder would read as an empty file and a pipe would wait for a
// writer forever.
inline std::FILE* openPlainFile(const std::string& path, const char* mode) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (!error && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found) {
        return nullptr;
    }
    return std::fopen(path.c_str(), mode);
}

}  // namespace lumen
