// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "lang/language_texts.h"
#include "platform/draw/raster_canvas.h"
#include "store/recording.h"
#include "support/annotated_home.h"
#include "view/strip_host.h"
#include "view/strip_painter.h"
#include "view/strip_window.h"

namespace lumen::testing {

// The ECG pane as the tests see it: a 560-pixel strip (screen class 3) of
// height 200, raster image and pane, every row with events.
class TestStripHost final : public StripHost {
public:
    static constexpr int32_t kWidth = 560;
    static constexpr int32_t kHeight = 200;

    TestStripHost();
    StripGeometry stripGeometry() const override { return geometry; }
    const StripDrawingObjects& drawingObjects() const override { return objects; }
    Image* stripImage() override { return image.get(); }
    Canvas* beginPanePaint() override { return pane.get(); }
    void endPanePaint(Canvas&) override {}
    bool selectedHasEvents() const override { return hasEvents; }
    bool stripFrozen() const override { return false; }

    StripGeometry geometry;
    StripColors colors;
    StripDrawingObjects objects;
    std::unique_ptr<Image> image;
    std::unique_ptr<RasterCanvas> pane;
    bool hasEvents = true;
};

// Twelve blocks of flat signal with a spike of +51 units (1 mV) on channel
// 1 and -26 units on channel 2 at sample 1100, amplitude code 3, beats
// every 50 samples from 800 with known classes, a VE run over samples
// 1150..1200 and two form templates (a spike, then a flat one).
struct StripTestHome {
    static constexpr int32_t kSpikeSample = 1100;
    static constexpr int32_t kNoFormBeatSample = 1200;

    AnnotatedHome h{0};
    std::unique_ptr<Recording> recording;
    StripWindow window;
    LanguageTexts texts;
    TestStripHost host;
    std::unique_ptr<StripPainter> painter;

    StripTestHome();
    Color imageColor(int32_t x, int32_t y) const;
    Color paneColor(int32_t x, int32_t y) const { return host.pane->colorAt(x, y); }
};

}  // namespace lumen::testing
