// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>

#include "store/clock.h"

namespace lumen {

// A 12-byte arrhythmia episode record of section 19. Times count 0.1 s
// (five ticks) from the recording start.
struct EpisodeRecord {
    bool flagged = false;  // bit 7 of byte 0: marked for the report
    Clock clock;           // time of day of the episode
    uint32_t startTenths = 0;
    uint32_t endTenths = 0;
    uint8_t code = 0;      // byte 10: the event code; 59 once deleted

    static constexpr uint32_t kCodeOffset = 10;

    static EpisodeRecord parse(std::span<const uint8_t, 12> bytes) {
        EpisodeRecord record;
        record.flagged = (bytes[0] & 0x80) != 0;
        record.clock = Clock{bytes[1], bytes[2], bytes[3]};
        record.startTenths = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16);
        record.endTenths = bytes[7] | (bytes[8] << 8) | (bytes[9] << 16);
        record.code = bytes[10];
        return record;
    }
    int32_t startTicks() const { return static_cast<int32_t>(startTenths * 5); }
    int32_t endTicks() const { return static_cast<int32_t>(endTenths * 5); }
    int32_t timeOfDayTicks() const {
        return clock.hour * kTicksPerHour + clock.minute * kTicksPerMinute + clock.second * kTicksPerSecond;
    }
};

}  // namespace lumen
