// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/file_identity.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "platform/file/utf8_path.h"
#else
#include <sys/stat.h>
#endif

namespace lumen {
namespace {

#ifdef _WIN32

// The CRT's stat gives no file number on Windows; the volume's serial and
// the file index are what tell two files apart there.
constexpr int64_t kNsPerFileTimeTick = 100;

std::optional<FileIdentity> identityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || GetFileInformationByHandle(handle, &info) == 0) return std::nullopt;
    const auto wide = [](DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; };
    return FileIdentity{info.dwVolumeSerialNumber, wide(info.nFileIndexHigh, info.nFileIndexLow),
                        wide(info.nFileSizeHigh, info.nFileSizeLow),
                        static_cast<int64_t>(wide(info.ftLastWriteTime.dwHighDateTime,
                                                  info.ftLastWriteTime.dwLowDateTime)) *
                            kNsPerFileTimeTick};
}

std::optional<FileIdentity> identityOfPath(const std::string& path) {
    // Opened for its attributes only, beside any writer or reader.
    HANDLE handle = CreateFileW(pathFromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::optional<FileIdentity> identity = identityOfHandle(handle);
    CloseHandle(handle);
    return identity;
}

std::optional<FileIdentity> identityOfFile(std::FILE* file) {
    return identityOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
}

#else

FileIdentity identityFrom(const struct stat& info) {
    return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                        static_cast<uint64_t>(info.st_size),
                        int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

std::optional<FileIdentity> identityOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return identityFrom(info);
}

std::optional<FileIdentity> identityOfFile(std::FILE* file) {
    struct stat info {};
    if (::fstat(fileno(file), &info) != 0) return std::nullopt;
    return identityFrom(info);
}

#endif

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) { return identityOfPath(path); }

std::optional<FileIdentity> identityOf(std::FILE* file) {
    if (file == nullptr || std::fflush(file) != 0) return std::nullopt;
    return identityOfFile(file);
}

}  // namespace lumen
