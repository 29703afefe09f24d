#include "store/disk_steps.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lumen {
namespace {

DiskStepHook stepHook = nullptr;

bool syncDescriptor(int descriptor) {
#ifdef _WIN32
    return _commit(descriptor) == 0;
#else
    return ::fsync(descriptor) == 0;
#endif
}

}  // namespace

void setDiskStepHook(DiskStepHook hook) { stepHook = hook; }

void noteDiskStep(DiskStep step) {
    if (stepHook != nullptr) stepHook(step);
}

bool writeFileAt(std::FILE* file, uint64_t offset, const void* bytes, size_t count) {
    if (file == nullptr || offset > static_cast<uint64_t>(INT32_MAX)) return false;
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    const bool written = std::fwrite(bytes, 1, count, file) == count;
    // Unbuffered data is what a killed process leaves behind, so the step is
    // complete only once the C library has handed the bytes to the system.
    const bool handedOver = std::fflush(file) == 0;
    noteDiskStep(DiskStep::Write);
    return written && handedOver;
}

bool flushToDevice(std::FILE* file) {
    if (file == nullptr) return false;
    const bool flushed = std::fflush(file) == 0 && syncDescriptor(fileno(file));
    noteDiskStep(DiskStep::Flush);
    return flushed;
}

bool flushFolderOf(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return true;  // NTFS makes directory entries durable with the file itself
#else
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return false;
    const bool flushed = ::fsync(descriptor) == 0;
    ::close(descriptor);
    noteDiskStep(DiskStep::Flush);
    return flushed;
#endif
}

bool removeDurably(const std::string& path) {
    const bool removed = std::remove(path.c_str()) == 0;
    noteDiskStep(DiskStep::Remove);
    return removed && flushFolderOf(path);
}

}  // namespace lumen
