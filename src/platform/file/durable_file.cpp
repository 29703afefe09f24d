// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/durable_file.h"

#include <cerrno>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/file/regular_file.h"
#include "platform/file/utf8_path.h"

namespace lumen {

namespace {

DurabilityWatch* watch = nullptr;

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool synced(bool done, std::FILE* file) {
    if (done && watch != nullptr) watch->fileSynced(file);
    return done;
}

bool synced(bool done, const std::string& folder) {
    if (done && watch != nullptr) watch->folderSynced(folder);
    return done;
}

}  // namespace

void setDurabilityWatch(DurabilityWatch* newWatch) { watch = newWatch; }

#ifdef _WIN32

bool syncFile(std::FILE* file) {
    return synced(file != nullptr && std::fflush(file) == 0 && _commit(_fileno(file)) == 0, file);
}

// NTFS makes directory entries durable with the file itself.
bool syncFolderOf(const std::string& path) { return synced(true, folderOf(path)); }

// Unlike rename, MoveFileEx replaces an existing target; write-through
// returns only once the move is on the disk.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExW(pathFromUtf8(from).c_str(), pathFromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool reserveFileSpace(std::FILE* file, uint64_t sizeBytes) {
    const int64_t size = fileSizeBytes(file);
    if (size < 0) return false;
    if (static_cast<uint64_t>(size) >= sizeBytes) return true;
    return _chsize_s(_fileno(file), static_cast<int64_t>(sizeBytes)) == 0;
}

bool resizeFile(std::FILE* file, uint64_t sizeBytes) {
    return file != nullptr && std::fflush(file) == 0 && _chsize_s(_fileno(file), static_cast<int64_t>(sizeBytes)) == 0;
}

int64_t fileSizeBytes(std::FILE* file) {
    if (file == nullptr) return -1;
    std::fflush(file);
    return _filelengthi64(_fileno(file));
}

#else

bool syncFile(std::FILE* file) {
    return synced(file != nullptr && std::fflush(file) == 0 && ::fsync(fileno(file)) == 0, file);
}

bool syncFolderOf(const std::string& path) {
    const std::string folder = folderOf(path);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool done = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced(done, folder);
}

bool replaceFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool reserveFileSpace(std::FILE* file, uint64_t sizeBytes) {
    if (file == nullptr || std::fflush(file) != 0) return false;
    // posix_fallocate returns its error instead of setting errno.
    const int error = ::posix_fallocate(fileno(file), 0, static_cast<off_t>(sizeBytes));
    if (error != 0) errno = error;
    return error == 0;
}

bool resizeFile(std::FILE* file, uint64_t sizeBytes) {
    return file != nullptr && std::fflush(file) == 0 && ::ftruncate(fileno(file), static_cast<off_t>(sizeBytes)) == 0;
}

int64_t fileSizeBytes(std::FILE* file) {
    struct stat info {};
    if (file == nullptr || std::fflush(file) != 0 || ::fstat(fileno(file), &info) != 0) return -1;
    return info.st_size;
}

#endif

bool writeWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    std::FILE* file = openRegularFile(path, "wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = syncFile(file) && written;
    return std::fclose(file) == 0 && written;
}

bool replaceWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string scratch = path + ".new";
    if (!writeWholeFile(scratch, bytes) || !replaceFile(scratch, path)) {
        removeFile(scratch);
        return false;
    }
    return syncFolderOf(path);
}

}  // namespace lumen
