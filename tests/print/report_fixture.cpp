// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_fixture.h"

#include <algorithm>

#include "demo/demo_home.h"
#include "events/recording_canvas.h"
#include "store/event_feed.h"

namespace lumen::testing {

ReportFixture::ReportFixture(uint32_t seed) {
    writeDemoHome(DemoOptions{home, 1, seed, 2});
    recording = std::make_unique<Recording>(home);
    recording->beats().load(*recording);
    trends.load(*recording);
    catalog = std::make_unique<EventCatalog>(texts);
    feedEvents(*recording, trends, *catalog);
    catalog->setScreenArea(Rect{0, 0, 1024, 19 * 20});
    test::RecordingCanvas screen;
    catalog->paintAll(screen, PaintTarget::Screen);
    const int32_t windowStart = std::max(0, catalog->cursorPosition() - 230);
    window.loadWithClocks(*recording, windowStart / 500);
    request.excerptStart = windowStart % 500;
    request.excerptEnd = request.excerptStart + 460;
    request.unitsPerMillivolt = recording->amplitudeCode();
}

}  // namespace lumen::testing
