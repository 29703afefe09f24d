// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace lumen {

// Told when a file's bytes, or the names in a folder, have reached the
// device: a power-loss test keeps its model of what a power cut leaves by
// it. No watch (the default) outside such tests.
class DurabilityWatch {
public:
    virtual ~DurabilityWatch() = default;
    virtual void fileSynced(std::FILE* file) = 0;
    virtual void folderSynced(const std::string& folder) = 0;
};
void setDurabilityWatch(DurabilityWatch* watch);

// Pushes the file's buffered bytes down to the device.
bool syncFile(std::FILE* file);
// Makes a created, renamed or removed name in the folder of `path` durable.
bool syncFolderOf(const std::string& path);
// Gives the file `from` the name `to`, replacing a file of that name in one
// step, so that `to` always names a whole file. Same folder only.
bool replaceFile(const std::string& from, const std::string& to);
// Allocates the file's blocks up to `sizeBytes`, so that later writes below
// that size cannot fail for want of disk space. Never shrinks the file.
bool reserveFileSpace(std::FILE* file, uint64_t sizeBytes);
// Cuts or extends the file to `sizeBytes`.
bool resizeFile(std::FILE* file, uint64_t sizeBytes);
// Writes a plain file whole (made or truncated) and pushes it to the device.
bool writeWholeFile(const std::string& path, std::span<const uint8_t> bytes);
// Replaces a small file in one step: the bytes are written whole beside it,
// synced, renamed over it and the rename made durable, so a crash leaves
// the old file or the new one, never part of either.
bool replaceWholeFile(const std::string& path, std::span<const uint8_t> bytes);
// The file's size as the system sees it; -1 when unknown.
int64_t fileSizeBytes(std::FILE* file);

}  // namespace lumen
