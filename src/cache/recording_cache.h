// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "cache/recent_recordings.h"

namespace lumen {

// What opening a file gave: the program home to view, and what the import
// said on the way.
struct CachedHome {
    std::string sourcePath;  // the file opened (a WFDB record's header)
    std::string homeFolder;
    bool imported = false;  // false: the file was opened before, its home reused
    std::string summary;
    std::vector<std::string> warnings;
};

// The program homes of the recordings a user opens as files, one per
// source content under the user's cache folder. The home keeps the
// corrections made in it, so opening the same file again finds them; a
// changed file gets a home of its own.
class RecordingCache {
public:
    // Homes of the viewer's default language: the imports of a cache are
    // made before anyone could choose.
    static constexpr int kHomeLanguage = 2;

    explicit RecordingCache(std::string rootFolder);
    // Under the user's cache folder; nothing when the system names none.
    static std::optional<RecordingCache> forUser();

    // The home of the file, imported into it first when it has none. Throws
    // ImportError naming the file and what to do.
    CachedHome open(const std::string& givenPath, std::atomic<double>* progress = nullptr) const;

    RecentRecordings recent() const;
    const std::string& rootFolder() const { return root_; }

    static bool isCompleteHome(const std::string& homeFolder);

private:
    std::string root_;
};

}  // namespace lumen
