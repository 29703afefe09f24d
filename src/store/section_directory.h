// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "store/recording_file.h"
#include "store/section_id.h"

namespace lumen {

struct SectionPlace {
    uint32_t offset = 0;
    uint32_t length = 0;
};

// The directory at the head of holter.mem: a count byte and 16-byte entries
// with the section id, a 24-bit length at entry offset 6 and a 24-bit file
// offset at entry offset 9.
class SectionDirectory {
public:
    // A count above 25 leaves the directory empty, so no section is found.
    void read(const RecordingFile& file);

    // The first entry with this id, as the directory is scanned in order.
    std::optional<SectionPlace> find(uint8_t id) const;
    std::optional<SectionPlace> find(SectionId id) const { return find(static_cast<uint8_t>(id)); }

    int entryCount() const { return entryCount_; }
    // Every id is at most the entry count; readers go on regardless.
    bool valid() const { return valid_; }

private:
    struct Entry {
        uint8_t id = 0;
        SectionPlace place;
    };
    std::array<Entry, kMaxSections> entries_{};
    int entryCount_ = 0;
    bool valid_ = false;
};

}  // namespace lumen
