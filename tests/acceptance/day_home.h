// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/lumen_run.h"

namespace lumen::testing {

// A fresh copy of the 24-hour demo home that the build writes once
// (LUMEN_DAY_HOME): every test may change its files freely.
class DayHome : public DemoHome {
public:
    explicit DayHome(int language = 2);
    std::vector<uint8_t> recordingBytes() const { return readFile(recordingPath("holter.mem")); }
};

// A small part of the screen, in client coordinates of the main window.
struct Region {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The panes of a maximised 1024 x 768 main window (screen class 1).
inline constexpr Region kTitleRegion{5, 5, 1019, 26};
inline constexpr Region kRowsRegion{5, 31, 1019, 483};
inline constexpr Region kStripRegion{5, 517, 925, 763};
inline constexpr int32_t kEcgTop = 517;

// `holter info` of the home, as JSON text.
std::string holterInfo(const DemoHome& home);

}  // namespace lumen::testing
