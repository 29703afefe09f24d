// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace lumen {

// The bytes of the rollback journal kept beside holter.mem.
//
// Header, 72 bytes: "LUMENJNL", u32 version, u32 state (idle or active),
// u64 update id, u64 recording size before the update, u64 hash of the
// whole recording before the update, u64 session id, u64 device and u64 file
// number of the recording, u32 reserved, u32 CRC-32 of the bytes before it.
// Then the entries of the update, the first at byte 512 and each at the start
// of a 512-byte sector: u64 offset, u32 length, u32 CRC-32 of the update id,
// offset, length and original bytes; then the original bytes, those of the
// whole sectors of the recording that the update writes into.
// Integers are little-endian. Version 2 had the first 40 bytes of this
// header, then u32 reserved and its CRC (48 bytes), and its entries followed
// one another without gaps; it is still read, so
// that a save cut short before an upgrade is still put back.
//
// The hash binds a journal to the recording it was written for: its entries
// are put back only when they turn the recording into exactly the one the
// update started from. The update id keeps entries of an earlier update,
// still lying further on in a reused journal, from counting as this one's.
// The session id and the recording's device and file number say whose
// journal it is: a session removes only the journal that carries its id.
inline constexpr std::array<uint8_t, 8> kJournalMagic{'L', 'U', 'M', 'E', 'N', 'J', 'N', 'L'};
inline constexpr uint32_t kJournalVersion = 3;
inline constexpr uint32_t kJournalVersionWithoutOwner = 2;
inline constexpr size_t kJournalHeaderBytes = 72;
inline constexpr size_t kJournalHeaderBytesWithoutOwner = 48;
inline constexpr size_t kJournalEntryHeaderBytes = 16;
// The unit a disk writes, and may garble whole at a power cut: the journal
// keeps the originals of whole sectors, and from version 3 on each of its
// entries starts a sector of its own, so that writing one never endangers
// the header or an entry already on the device.
inline constexpr uint64_t kDiskSectorBytes = 512;

constexpr uint64_t sectorAlignedBytes(uint64_t bytes) {
    return (bytes + kDiskSectorBytes - 1) / kDiskSectorBytes * kDiskSectorBytes;
}

// Room for the originals of every sector of a recording of this size, each
// in an entry of its own: the most one update can need.
constexpr uint64_t journalCapacityBytes(uint64_t recordingBytes) {
    const uint64_t sectors = recordingBytes / kDiskSectorBytes + 1;
    return kDiskSectorBytes + sectors * sectorAlignedBytes(kJournalEntryHeaderBytes + kDiskSectorBytes);
}

enum class JournalState : uint32_t { Idle = 0, Active = 1 };

struct JournalHeader {
    JournalState state = JournalState::Idle;
    uint64_t updateId = 0;
    uint64_t recordingSizeBytes = 0;
    uint64_t recordingHash = 0;
    uint64_t sessionId = 0;
    uint64_t recordingDevice = 0;
    uint64_t recordingFileNumber = 0;
    uint32_t version = kJournalVersion;
};

// Where the entries begin in a journal of the header's version, and where
// the entry after one that ends at `endOffset` begins.
size_t journalEntriesOffset(const JournalHeader& header);
uint64_t nextJournalEntryOffset(const JournalHeader& header, uint64_t endOffset);

// Torn: what a write cut short leaves of our own header (a prefix of it, or
// bytes that fail the check). Foreign: anything else.
enum class HeaderCheck { Valid, Torn, Foreign };

std::array<uint8_t, kJournalHeaderBytes> encodeJournalHeader(const JournalHeader& header);
HeaderCheck decodeJournalHeader(std::span<const uint8_t> bytes, JournalHeader& header);

std::array<uint8_t, kJournalEntryHeaderBytes> encodeEntryHeader(uint64_t updateId, uint64_t offset,
                                                                std::span<const uint8_t> original);

uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
// FNV-1a, 64 bits: a recording's fingerprint.
uint64_t recordingHash(std::span<const uint8_t> bytes);

void putLittleEndian(uint8_t* out, uint64_t value, int width);
uint64_t littleEndian(const uint8_t* in, int width);

}  // namespace lumen
