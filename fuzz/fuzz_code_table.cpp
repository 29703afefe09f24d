// SPDX-License-Identifier: GPL-3.0-or-later
// huffman.ko2 text as the input: the table read as the viewer reads it, a
// decoder built from it, and the input's own bytes decoded as channel
// records, checked sample for sample against the bit-by-bit table scan.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "harness_fatal_handler.h"
#include "scratch_folder.h"
#include "store/channel_decoder.h"
#include "store/code_table.h"
#include "store/literal_channel_decoder.h"

namespace lumen::fuzz {
namespace {

// A record as the reader fills it: at most 796 code bytes, zeros behind.
ChannelRecord recordFrom(std::span<const uint8_t> bytes, uint16_t bitCount, uint8_t firstSample) {
    ChannelRecord record;
    record.bitCount = bitCount;
    record.firstSample = firstSample;
    const size_t stored = std::min<size_t>({record.storedDataBytes(), kMaxRecordDataBytes, bytes.size()});
    std::copy_n(bytes.begin(), stored, record.data.begin());
    return record;
}

void compareDecoders(const CodeTable& table, const ChannelDecoder& decoder, const ChannelRecord& record) {
    std::array<uint8_t, 500> fast;
    std::array<uint8_t, 500> literal;
    fast.fill(0xA5);
    literal.fill(0xA5);
    const int32_t fastCount = decoder.decode(record, fast);
    const int32_t literalCount = testing::decodeChannelLiteral(table, record, literal);
    if (fastCount != literalCount) __builtin_trap();
    if (fastCount != kDecodeFailed && std::memcmp(fast.data(), literal.data(), fast.size()) != 0) __builtin_trap();
}

void decodeTable(std::span<const uint8_t> input) {
    const std::string path = ScratchFolder::instance().write("huffman.ko2", input);
    CodeTable table;
    if (readCodeTable(path, table) != CodeTableStatus::Ok) {
        (void)loadCodeTable(ScratchFolder::instance().directory());  // the fatal error of the viewer
        return;
    }
    const ChannelDecoder decoder(table);
    // The input's tail and head as code bits: a record cut short and one
    // whose bit count reaches past the bytes given.
    const size_t tail = std::min<size_t>(input.size(), kMaxRecordDataBytes);
    const std::span<const uint8_t> last = input.last(tail);
    const uint16_t bits = input.size() >= 2 ? static_cast<uint16_t>(input[0] | input[1] << 8) : 0;
    compareDecoders(table, decoder, recordFrom(last, static_cast<uint16_t>(tail * 8), 128));
    compareDecoders(table, decoder, recordFrom(input.first(std::min<size_t>(input.size(), 64)), bits, 7));
    std::array<uint8_t, 64> zeros{};
    compareDecoders(table, decoder, recordFrom(zeros, 500, 255));
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::decodeTable(input); });
    return 0;
}
