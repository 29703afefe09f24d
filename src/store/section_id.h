// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The sections of holter.mem that the viewer reads or writes.
enum class SectionId : uint8_t {
    Patient = 1,        // patient line; amplitude code at section offset 100
    HeartRate = 2,      // one byte per block, beats per minute
    StChannel1 = 3,     // one signed byte per block
    StChannel2 = 5,     // one signed byte per block
    TrendFlags = 9,     // exclusion flags; its length is the trend block count
    RecordingClock = 13,
    BlockIndex = 18,    // 24-bit file offset of each 10-second block
    Episodes = 19,      // 12-byte episode records
    Markers = 20,       // 24-bit patient marker times, 0.1 s
    Beats = 21,         // 32-bit beat words
    HeartRateMin = 22,  // 12-byte record
    HeartRateMax = 23,  // 12-byte record
};

inline constexpr int kMaxSections = 25;
inline constexpr uint32_t kDirectoryEntryBytes = 16;
inline constexpr uint32_t kEditCounterOffset = 516;
inline constexpr uint32_t kPatientAmplitudeOffset = 100;
inline constexpr uint32_t kEpisodeRecordBytes = 12;
inline constexpr uint32_t kMarkerBytes = 3;
inline constexpr uint32_t kBeatWordBytes = 4;
inline constexpr uint32_t kBlockHeaderBytes = 9;

}  // namespace lumen
