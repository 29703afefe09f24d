// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/recording_hold.h"

#include <filesystem>

#include "platform/file/file_lock.h"
#include "platform/file/regular_file.h"
#include "store/recording_file.h"

namespace lumen {

HoldResult RecordingHold::take(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || holds(path)) return HoldResult::Held;
    // A file we may not write can still be read: a shared lock then shows
    // whether a viewer holds it.
    LockMode mode = LockMode::Exclusive;
    std::FILE* file = openRegularFile(path, "r+b");
    if (file == nullptr) {
        mode = LockMode::Shared;
        file = openRegularFile(path, "rb");
    }
    if (file == nullptr) return HoldResult::Unopenable;
    if (!FileLock::lock(file, kSessionLockByte, mode, kRecordingLockWaitMs)) {
        std::fclose(file);
        return HoldResult::InUse;
    }
    files_.push_back(file);
    paths_.push_back(path);
    return HoldResult::Held;
}

bool RecordingHold::holds(const std::string& path) const {
    std::error_code error;
    for (const std::string& held : paths_) {
        if (std::filesystem::equivalent(held, path, error)) return true;
    }
    return false;
}

void RecordingHold::releaseAll() {
    for (std::FILE* file : files_) std::fclose(file);
    files_.clear();
    paths_.clear();
}

}  // namespace lumen
