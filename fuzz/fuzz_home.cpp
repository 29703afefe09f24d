// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_home.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "scratch_folder.h"
#include "store/huffman_code_builder.h"
#include "store/section_id.h"

namespace lumen::fuzz {

const CodeTable& FuzzHome::defaultCodeTable() {
    static const CodeTable table = [] {
        std::array<uint64_t, kCodeTableEntries> frequencies{};
        for (int value = 0; value < kCodeTableEntries; ++value) {
            const int size = std::min(std::abs(value - 255), 40);
            frequencies[static_cast<size_t>(value)] = 1 + (uint64_t{1} << 40 >> size);
        }
        return HuffmanCodeBuilder::build(frequencies);
    }();
    return table;
}

void FuzzHome::prepare() {
    static const bool prepared = [] {
        const ScratchFolder& folder = ScratchFolder::instance();
        folder.write("huffman.ko2", formatCodeTable(defaultCodeTable()));
        folder.write("path.tmp", folder.recordingDirectory() + "\n");
        return true;
    }();
    (void)prepared;
}

void FuzzHome::writeCodeTableText(std::span<const uint8_t> text) {
    prepare();
    ScratchFolder::instance().write("huffman.ko2", text);
}

void FuzzHome::writeRecording(std::span<const uint8_t> bytes) {
    prepare();
    ScratchFolder::instance().write("holter.mem", bytes);
}

std::unique_ptr<Recording> FuzzHome::open(RecordingAccess access) {
    prepare();
    return std::make_unique<Recording>(ScratchFolder::instance().directory(), access);
}

std::vector<uint8_t> FuzzHome::recordingOnDisk() {
    std::ifstream file(ScratchFolder::instance().directory() + "holter.mem", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool FuzzHome::reachesFarPastEnd(std::span<const uint8_t> recording) {
    constexpr uint64_t kSlackBytes = 65536;
    if (recording.empty() || recording[0] > kMaxSections) return false;
    const auto u24 = [&](size_t at) {
        uint32_t value = 0;
        for (size_t k = 0; k < 3; ++k) value |= uint32_t{at + k < recording.size() ? recording[at + k] : uint8_t{0}} << (8 * k);
        return value;
    };
    for (size_t entry = 0; entry < recording[0]; ++entry) {
        const size_t at = 1 + entry * kDirectoryEntryBytes;
        if (uint64_t{u24(at + 9)} + u24(at + 6) > recording.size() + kSlackBytes) return true;
    }
    return false;
}

std::vector<int32_t> FuzzHome::spreadBlocks(int32_t blockCount, int32_t cap) {
    const int64_t last = int64_t{std::max(blockCount, 0)} + 1;
    std::vector<int32_t> blocks;
    if (last + 1 <= cap) {
        for (int32_t block = 0; block <= last; ++block) blocks.push_back(block);
        return blocks;
    }
    for (int32_t i = 0; i < cap; ++i) blocks.push_back(static_cast<int32_t>(last * i / (cap - 1)));
    return blocks;
}

}  // namespace lumen::fuzz
