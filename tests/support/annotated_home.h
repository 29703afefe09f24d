// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "store/beat_word.h"
#include "store/recording_writer.h"
#include "support/temp_home.h"

namespace lumen::testing {

// A small recording with beats, episodes, markers and trend tables, built
// section by section; blocks carry a flat signal.
struct AnnotatedHome {
    TempHome home;
    CodeTable table = flatCodeTable();
    RecordingWriter writer{table};
    std::vector<BeatWord> beats;
    std::vector<std::array<uint8_t, 12>> episodes;
    std::vector<uint32_t> markerTenths;

    explicit AnnotatedHome(int blocks = 12);
    static std::array<uint8_t, 12> episode(uint8_t code, uint32_t startTenths, uint32_t endTenths,
                                           bool flagged = false, uint8_t hour = 0, uint8_t minute = 0,
                                           uint8_t second = 0);
    void setTrends(const std::vector<uint8_t>& flags, const std::vector<uint8_t>& heartRate,
                   const std::vector<int8_t>& st1, const std::vector<int8_t>& st2);
    // Writes holter.mem with everything set so far.
    void save();
};

}  // namespace lumen::testing
