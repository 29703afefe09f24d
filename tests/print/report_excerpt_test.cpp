// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_excerpt.h"

#include <gtest/gtest.h>

#include <array>

#include "print/print_request.h"
#include "view/caliper.h"
#include "view/strip_view.h"

namespace lumen {
namespace {

std::array<int32_t, 4> fieldsOf(const ReportExcerpt& e) {
    return {e.startSample, e.endSample, e.firstColumn, e.secondColumn};
}

TEST(ReportExcerpt, LongExcerptsAreCutSymmetricallyAndCalipersFollowOrDrop) {
    constexpr int32_t kNone = ReportExcerpt::kNoCaliper;
    const struct {
        const char* name;
        ReportExcerpt given;
        int32_t pixelsPerSample;
        ReportExcerpt cut;
    } cases[] = {
        {"samples 140 .. 859 at 12.5 mm/s", {0, 1000, 300, 400}, 1, {140, 860, 160, 260}},
        {"each dropped sample is four columns at 50 mm/s", {100, 330, 400, 500}, 4, {125, 305, 300, 400}},
        {"first line cut away: no calipers", {0, 460, 20, 300}, 2, {50, 410, kNone, 200}},
        {"second line cut away: held at the left edge", {0, 460, 300, 20}, 2, {50, 410, 200, 0}},
        {"no calipers stay none", {0, 100, kNone, 0}, 2, {0, 100, kNone, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fieldsOf(fitToStrip(c.given, c.pixelsPerSample)), fieldsOf(c.cut));
    }
}

TEST(ReportExcerpt, PrintButtonRequestTakesTheViewAsItStands) {
    StripView view;
    view.slotA = 1;
    view.offsetA = 200;
    view.slotB = 1;
    view.offsetB = 660;  // 460 samples: a 920-column strip at 25 mm/s
    view.amplitudeStep = 3;
    Caliper caliper;
    caliper.firstColumn = 150;
    caliper.secondColumn = 90;
    CaliperFigures figures;
    figures.channel1Millivolts = 1.5f;
    const PrintRequest request = printRequestFrom(3, view, caliper, figures, -51, 2);
    EXPECT_EQ(request.excerptStart, 1700);
    EXPECT_EQ(request.excerptEnd, 2160);
    EXPECT_EQ(request.pixelsPerSample, 2);
    EXPECT_EQ(request.amplitudeStep, 3);
    EXPECT_EQ(request.printerIndex, 2);
    EXPECT_FLOAT_EQ(request.channel1Millivolts, 1.5f);
    EXPECT_EQ(request.firstColumn, 150);
    EXPECT_EQ(request.unitsPerMillivolt, -51);
}

}  // namespace
}  // namespace lumen
