// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/section_directory.h"

namespace lumen {

void SectionDirectory::read(const RecordingFile& file) {
    entries_ = {};
    const uint8_t count = file.readU8(0);
    entryCount_ = count > kMaxSections ? 0 : count;
    valid_ = count <= kMaxSections;
    for (int i = 0; i < entryCount_; ++i) {
        const uint64_t at = 1 + uint64_t{kDirectoryEntryBytes} * static_cast<uint64_t>(i);
        Entry& entry = entries_[static_cast<size_t>(i)];
        entry.id = file.readU8(at);
        entry.place.length = file.readU24(at + 6);
        entry.place.offset = file.readU24(at + 9);
        if (entry.id > count) valid_ = false;
    }
}

std::optional<SectionPlace> SectionDirectory::find(uint8_t id) const {
    for (int i = 0; i < entryCount_; ++i) {
        if (entries_[static_cast<size_t>(i)].id == id) return entries_[static_cast<size_t>(i)].place;
    }
    return std::nullopt;
}

}  // namespace lumen
