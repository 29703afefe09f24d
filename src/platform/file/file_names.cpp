// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/file_names.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/file/utf8_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen {

#ifdef _WIN32

std::string canonicalPathOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(pathFromUtf8(path), error);
    return error ? path : utf8FromPath(canonical);
}

uint64_t nameCountOf(std::FILE* file) {
    BY_HANDLE_FILE_INFORMATION info{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (file == nullptr || !GetFileInformationByHandle(handle, &info)) return 0;
    return info.nNumberOfLinks;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    return MoveFileExW(pathFromUtf8(from).c_str(), pathFromUtf8(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

std::FILE* createNewFile(const std::string& path) {
    const HANDLE handle = CreateFileW(pathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "w+b");
    if (file == nullptr) _close(descriptor);
    return file;
}

#else

std::string canonicalPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

uint64_t nameCountOf(std::FILE* file) {
    struct stat info {};
    if (file == nullptr || ::fstat(fileno(file), &info) != 0) return 0;
    return static_cast<uint64_t>(info.st_nlink);
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a second name, then the first goes.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

std::FILE* createNewFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    std::FILE* file = ::fdopen(descriptor, "w+b");
    if (file == nullptr) ::close(descriptor);
    return file;
}

#endif

FileFailureCause lastFileFailureCause() {
    switch (errno) {
    case EACCES:
    case EPERM:
#ifdef EROFS
    case EROFS:
#endif
        return FileFailureCause::Permission;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return FileFailureCause::NoRoom;
    case ENOENT: return FileFailureCause::Missing;
    default: return FileFailureCause::Other;
    }
}

}  // namespace lumen
