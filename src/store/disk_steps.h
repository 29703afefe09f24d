// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <string>

namespace lumen {

// The steps that reach the disk while a correction is stored: a write into a
// file, a flush of a file (or of its folder) to the device, or a removal.
// Settle is the write that turns the journal idle: from then on the update
// is durable.
enum class DiskStep { Write, Flush, Remove, Settle };

// Called after each step has completed; the crash-safety tests stop the
// process there, at every step in turn.
using DiskStepHook = void (*)(DiskStep step);
void setDiskStepHook(DiskStepHook hook);
void noteDiskStep(DiskStep step);

// Writes the whole buffer at `offset`; false on a short write or seek failure.
bool writeFileAt(std::FILE* file, uint64_t offset, const void* bytes, size_t count,
                 DiskStep step = DiskStep::Write);
// Pushes the file's buffered bytes down to the device.
bool flushToDevice(std::FILE* file);
// Makes a created or removed name in the folder of `path` durable.
bool flushFolderOf(const std::string& path);
bool removeDurably(const std::string& path);
// Moves a file to another name in the same folder, durably.
bool renameDurably(const std::string& from, const std::string& to);

}  // namespace lumen
