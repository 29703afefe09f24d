// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

namespace lumen {

// The recordings a user opened lately, newest first: the source file and
// the cache home it was imported into. Kept as lines of a small UTF-8 file
// ("SOURCE<TAB>HOME"); a damaged line is skipped, never fatal.
class RecentRecordings {
public:
    static constexpr size_t kMaxEntries = 12;

    struct Entry {
        std::string sourcePath;
        std::string homeFolder;
    };

    explicit RecentRecordings(std::string listPath);

    // The entries whose source still exists.
    std::vector<Entry> load() const;
    // Puts the entry first (removing an older one of the same source) and
    // writes the list whole; false when it could not be written.
    bool remember(const Entry& entry) const;

private:
    std::vector<Entry> readAll() const;

    std::string listPath_;
};

}  // namespace lumen
