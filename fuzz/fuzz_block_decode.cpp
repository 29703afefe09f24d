// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's signal: every block (up to a cap) of both channels fetched
// and decoded into a strip window, as the viewer fetches them.
//
// Input: huffman.ko2 text, the line "#holter.mem", then holter.mem; without
// that line the whole input is holter.mem and the built-in code table is
// used.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_home.h"
#include "harness_fatal_handler.h"

namespace lumen::fuzz {
namespace {

constexpr std::string_view kSplitLine = "#holter.mem\n";
constexpr int32_t kBlockCap = 40;
constexpr int32_t kWindowBlocks = 12;

// False when the recording is not worth opening (see reachesFarPastEnd).
bool writeHome(std::span<const uint8_t> input) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    const size_t split = text.find(kSplitLine);
    if (split == std::string_view::npos) {
        const std::string table = formatCodeTable(FuzzHome::defaultCodeTable());
        FuzzHome::writeCodeTableText(std::span(reinterpret_cast<const uint8_t*>(table.data()), table.size()));
        FuzzHome::writeRecording(input);
        return !FuzzHome::reachesFarPastEnd(input);
    }
    const std::span<const uint8_t> recording = input.subspan(split + kSplitLine.size());
    FuzzHome::writeCodeTableText(input.first(split));
    FuzzHome::writeRecording(recording);
    return !FuzzHome::reachesFarPastEnd(recording);
}

void decodeBlocks(std::span<const uint8_t> input) {
    if (!writeHome(input)) return;
    const auto recording = FuzzHome::open();
    std::vector<uint8_t> channel1(kWindowBlocks * kSamplesPerBlock, 128);
    std::vector<uint8_t> channel2(kWindowBlocks * kSamplesPerBlock, 128);
    for (const int32_t block : FuzzHome::spreadBlocks(recording->blockCount(), kBlockCap)) {
        (void)recording->fetchBlock(channel1, channel2, block, block - block % kWindowBlocks);
        // A window that does not hold the block is left as it was.
        (void)recording->fetchBlock(channel1, channel2, block, block + 1);
    }
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::decodeBlocks(input); });
    return 0;
}
