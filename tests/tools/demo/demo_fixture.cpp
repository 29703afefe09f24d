// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo_fixture.h"

namespace lumen::testing {

const DemoFixture& twoHourDemo() {
    static DemoFixture fixture;  // destroyed at exit, which removes its folder
    static const bool built = [] {
        fixture.recording = DemoRecordingBuilder::build(kFixtureHours, 7);
        fixture.home = fixture.folder.path("home/");
        DemoOptions options;
        options.directory = fixture.folder.path("home");
        options.hours = kFixtureHours;
        options.seed = 7;
        fixture.result = writeDemoHome(options);
        return true;
    }();
    (void)built;
    return fixture;
}

}  // namespace lumen::testing
