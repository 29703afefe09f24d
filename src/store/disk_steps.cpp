// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/disk_steps.h"

#include <cstdint>
#include <cstdio>

#include "platform/file/durable_file.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

DiskStepHook stepHook = nullptr;

}  // namespace

void setDiskStepHook(DiskStepHook hook) { stepHook = hook; }

void noteDiskStep(DiskStep step) {
    if (stepHook != nullptr) stepHook(step);
}

bool writeFileAt(std::FILE* file, uint64_t offset, const void* bytes, size_t count, DiskStep step) {
    if (file == nullptr || offset > static_cast<uint64_t>(INT32_MAX)) return false;
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    const bool written = std::fwrite(bytes, 1, count, file) == count;
    // Unbuffered data is what a killed process leaves behind, so the step is
    // complete only once the C library has handed the bytes to the system.
    const bool handedOver = std::fflush(file) == 0;
    noteDiskStep(step);
    return written && handedOver;
}

bool flushToDevice(std::FILE* file) {
    const bool flushed = syncFile(file);
    noteDiskStep(DiskStep::Flush);
    return flushed;
}

bool flushFolderOf(const std::string& path) {
    const bool flushed = syncFolderOf(path);
    noteDiskStep(DiskStep::Flush);
    return flushed;
}

bool removeDurably(const std::string& path) {
    const bool removed = removeFile(path);
    noteDiskStep(DiskStep::Remove);
    return removed && flushFolderOf(path);
}

bool renameDurably(const std::string& from, const std::string& to) {
    const bool renamed = replaceFile(from, to);
    noteDiskStep(DiskStep::Remove);
    return renamed && flushFolderOf(to);
}

}  // namespace lumen
