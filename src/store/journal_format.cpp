// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/journal_format.h"

#include <algorithm>

namespace lumen {
namespace {

size_t headerBytesOf(uint32_t version) {
    return version == kJournalVersion ? kJournalHeaderBytes : kJournalHeaderBytesWithoutOwner;
}
constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

}  // namespace

void putLittleEndian(uint8_t* out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t littleEndian(const uint8_t* in, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (const uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint64_t recordingHash(std::span<const uint8_t> bytes) {
    uint64_t hash = kFnvOffsetBasis;
    for (const uint8_t byte : bytes) hash = (hash ^ byte) * kFnvPrime;
    return hash;
}

size_t journalEntriesOffset(const JournalHeader& header) {
    return header.version == kJournalVersion ? kDiskSectorBytes : kJournalHeaderBytesWithoutOwner;
}

uint64_t nextJournalEntryOffset(const JournalHeader& header, uint64_t endOffset) {
    return header.version == kJournalVersion ? sectorAlignedBytes(endOffset) : endOffset;
}

std::array<uint8_t, kJournalHeaderBytes> encodeJournalHeader(const JournalHeader& header) {
    constexpr size_t kCheckedHeaderBytes = kJournalHeaderBytes - 4;
    std::array<uint8_t, kJournalHeaderBytes> bytes{};
    std::copy(kJournalMagic.begin(), kJournalMagic.end(), bytes.begin());
    putLittleEndian(&bytes[8], kJournalVersion, 4);
    putLittleEndian(&bytes[12], static_cast<uint32_t>(header.state), 4);
    putLittleEndian(&bytes[16], header.updateId, 8);
    putLittleEndian(&bytes[24], header.recordingSizeBytes, 8);
    putLittleEndian(&bytes[32], header.recordingHash, 8);
    putLittleEndian(&bytes[40], header.sessionId, 8);
    putLittleEndian(&bytes[48], header.recordingDevice, 8);
    putLittleEndian(&bytes[56], header.recordingFileNumber, 8);
    putLittleEndian(&bytes[kCheckedHeaderBytes], crc32(std::span(bytes).first(kCheckedHeaderBytes)), 4);
    return bytes;
}

HeaderCheck decodeJournalHeader(std::span<const uint8_t> bytes, JournalHeader& header) {
    const size_t magicSeen = std::min(bytes.size(), kJournalMagic.size());
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(magicSeen), kJournalMagic.begin())) {
        return HeaderCheck::Foreign;
    }
    if (bytes.size() < 12) return HeaderCheck::Torn;
    const uint32_t version = static_cast<uint32_t>(littleEndian(&bytes[8], 4));
    if (version != kJournalVersion && version != kJournalVersionWithoutOwner) return HeaderCheck::Foreign;
    const size_t headerBytes = headerBytesOf(version);
    if (bytes.size() < headerBytes) return HeaderCheck::Torn;
    if (crc32(bytes.first(headerBytes - 4)) != littleEndian(&bytes[headerBytes - 4], 4)) return HeaderCheck::Torn;
    const uint64_t state = littleEndian(&bytes[12], 4);
    if (state > static_cast<uint32_t>(JournalState::Active)) return HeaderCheck::Foreign;
    header.state = static_cast<JournalState>(state);
    header.updateId = littleEndian(&bytes[16], 8);
    header.recordingSizeBytes = littleEndian(&bytes[24], 8);
    header.recordingHash = littleEndian(&bytes[32], 8);
    header.version = version;
    if (version == kJournalVersion) {
        header.sessionId = littleEndian(&bytes[40], 8);
        header.recordingDevice = littleEndian(&bytes[48], 8);
        header.recordingFileNumber = littleEndian(&bytes[56], 8);
    }
    return HeaderCheck::Valid;
}

std::array<uint8_t, kJournalEntryHeaderBytes> encodeEntryHeader(uint64_t updateId, uint64_t offset,
                                                                std::span<const uint8_t> original) {
    std::array<uint8_t, kJournalEntryHeaderBytes> bytes{};
    putLittleEndian(&bytes[0], offset, 8);
    putLittleEndian(&bytes[8], original.size(), 4);
    std::array<uint8_t, 8> id{};
    putLittleEndian(id.data(), updateId, 8);
    const uint32_t crc = crc32(original, crc32(std::span(bytes).first(12), crc32(id)));
    putLittleEndian(&bytes[12], crc, 4);
    return bytes;
}

}  // namespace lumen
