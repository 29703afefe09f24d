#pragma once
#include <cstdio>
#include <string>

namespace lumen {

// The steps that reach the disk while a correction is stored: a write into a
// file, a flush of a file (or of its folder) to the device, or a removal.
enum class DiskStep { Write, Flush, Remove };

// Called after each step has completed; the crash-safety tests stop the
// process there, at every step in turn.
using DiskStepHook = void (*)(DiskStep step);
void setDiskStepHook(DiskStepHook hook);
void noteDiskStep(DiskStep step);

// Writes the whole buffer at `offset`; false on a short write or seek failure.
bool writeFileAt(std::FILE* file, uint64_t offset, const void* bytes, size_t count);
// Pushes the file's buffered bytes down to the device.
bool flushToDevice(std::FILE* file);
// Makes a created or removed name in the folder of `path` durable.
bool flushFolderOf(const std::string& path);
bool removeDurably(const std::string& path);

}  // namespace lumen
