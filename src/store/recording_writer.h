// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "store/clock.h"
#include "store/code_table.h"
#include "store/section_id.h"

namespace lumen {

// Builds a holter.mem image: the section directory, the edit counter, the
// sections in id order and the Huffman-coded signal blocks. Used by the demo
// generator and by the tests; the exact inverse of the reader.
//
// Every id from 1 to the highest one used gets a directory entry (empty when
// not given), so the directory is valid: no id above the entry count. The
// signal blocks live in section 24, and section 18 (the block index) is
// generated from where they land.
class RecordingWriter {
public:
    explicit RecordingWriter(const CodeTable& table);

    void setSection(SectionId id, std::vector<uint8_t> bytes);
    void setSection(uint8_t id, std::vector<uint8_t> bytes);
    void setEditCounter(uint32_t count) { editCounter_ = count; }

    // Appends one 10-second block. Differences must be within -255..255.
    void addBlock(std::span<const uint8_t, kSamplesPerBlock> channel1,
                  std::span<const uint8_t, kSamplesPerBlock> channel2);
    int32_t blockCount() const { return static_cast<int32_t>(blockOffsets_.size()); }

    // The whole file; empty when it would not fit the 24-bit offsets.
    std::vector<uint8_t> build() const;
    bool writeFile(const std::string& path) const;

    static constexpr uint8_t kSignalSectionId = 24;

private:
    const CodeTable& table_;
    std::map<uint8_t, std::vector<uint8_t>> sections_;
    std::vector<uint8_t> signal_;
    std::vector<uint32_t> blockOffsets_;  // within the signal section
    uint32_t editCounter_ = 0;
};

}  // namespace lumen
