#include "platform/file/file_identity.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#endif

namespace lumen {
namespace {

#ifdef _WIN32
using StatInfo = struct _stat64;
int statPath(const std::string& path, StatInfo& info) { return _stat64(path.c_str(), &info); }
int statFile(std::FILE* file, StatInfo& info) { return _fstat64(_fileno(file), &info); }
int64_t modifiedNsOf(const StatInfo& info) { return int64_t{info.st_mtime} * 1000000000; }
#else
using StatInfo = struct stat;
int statPath(const std::string& path, StatInfo& info) { return ::stat(path.c_str(), &info); }
int statFile(std::FILE* file, StatInfo& info) { return ::fstat(fileno(file), &info); }
int64_t modifiedNsOf(const StatInfo& info) { return int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec; }
#endif

FileIdentity identityFrom(const StatInfo& info) {
    return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                        static_cast<uint64_t>(info.st_size), modifiedNsOf(info)};
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
    StatInfo info{};
    if (statPath(path, info) != 0) return std::nullopt;
    return identityFrom(info);
}

std::optional<FileIdentity> identityOf(std::FILE* file) {
    StatInfo info{};
    if (file == nullptr || std::fflush(file) != 0 || statFile(file, info) != 0) return std::nullopt;
    return identityFrom(info);
}

}  // namespace lumen
