// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "demo/demo_home.h"
#include "demo/demo_recording.h"
#include "support/temp_home.h"

namespace lumen::testing {

// One two-hour demo recording and its home, built once for all tests.
struct DemoFixture {
    RecordingImage recording;
    TempHome folder;  // the home is its subfolder "home"
    DemoResult result;
    std::string home;  // ends with '/'
};
const DemoFixture& twoHourDemo();

inline constexpr int kFixtureHours = 2;

}  // namespace lumen::testing
