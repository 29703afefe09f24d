#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace lumen {

// The bytes of the rollback journal kept beside holter.mem.
//
// Header, 48 bytes: "LUMENJNL", u32 version, u32 state (idle or active),
// u64 update id, u64 recording size before the update, u64 hash of the
// whole recording before the update, u32 reserved, u32 CRC-32 of the bytes
// before it. Then the entries of the update: u64 offset, u32 length, u32
// CRC-32 of the update id, offset, length and original bytes; then the
// original bytes. Integers are little-endian.
//
// The hash binds a journal to the recording it was written for: its entries
// are put back only when they turn the recording into exactly the one the
// update started from. The update id keeps entries of an earlier update,
// still lying further on in a reused journal, from counting as this one's.
inline constexpr std::array<uint8_t, 8> kJournalMagic{'L', 'U', 'M', 'E', 'N', 'J', 'N', 'L'};
inline constexpr uint32_t kJournalVersion = 2;
inline constexpr size_t kJournalHeaderBytes = 48;
inline constexpr size_t kJournalEntryHeaderBytes = 16;

enum class JournalState : uint32_t { Idle = 0, Active = 1 };

struct JournalHeader {
    JournalState state = JournalState::Idle;
    uint64_t updateId = 0;
    uint64_t recordingSizeBytes = 0;
    uint64_t recordingHash = 0;
};

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
