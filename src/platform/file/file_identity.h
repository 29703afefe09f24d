// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace lumen {

// What tells one file from another that took its name: the file itself
// (device and file number) and its last change (size and write time). A
// recording copied over, or renamed in place of, the one a viewer opened
// has a different identity.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t fileNumber = 0;
    uint64_t sizeBytes = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path);
std::optional<FileIdentity> identityOf(std::FILE* file);

// Whether both are known and are the same file, whatever its contents now.
inline bool isSameFile(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
    return a && b && a->device == b->device && a->fileNumber == b->fileNumber;
}

}  // namespace lumen
