// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/regular_file.h"

#include "platform/file/utf8_path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen {

#ifdef _WIN32

std::FILE* openRegularFile(const std::string& path, const char* mode) {
    std::error_code error;
    const auto type = std::filesystem::status(pathFromUtf8(path), error).type();
    if (!error && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found) {
        return nullptr;
    }
    return openFile(path, mode);
}

#else

namespace {

int openFlagsOf(const char* mode) {
    const bool update = std::strchr(mode, '+') != nullptr;
    if (mode[0] == 'w') return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    return update ? O_RDWR : O_RDONLY;
}

}  // namespace

std::FILE* openRegularFile(const std::string& path, const char* mode) {
    // Non-blocking, so that opening a pipe returns at once instead of
    // waiting for its writer; the flag is cleared again for the reads.
    const int descriptor = ::open(path.c_str(), openFlagsOf(mode) | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        errno = ENOENT;
        return nullptr;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(descriptor, mode);
    if (file == nullptr) ::close(descriptor);
    return file;
}

#endif

}  // namespace lumen
