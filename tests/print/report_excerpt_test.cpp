#include "print/report_excerpt.h"

#include <gtest/gtest.h>

#include "print/print_request.h"
#include "print/report_printer.h"
#include "view/caliper.h"
#include "view/strip_view.h"

namespace lumen {
namespace {

TEST(ReportExcerpt, LongExcerptIsCutSymmetricallyAndCalipersFollow)
{
    const ReportExcerpt cut = fitToStrip(ReportExcerpt{0, 1000, 300, 400}, 1);
    EXPECT_EQ(cut.startSample, 140);
    EXPECT_EQ(cut.endSample, 860);  // samples 140 .. 859
    EXPECT_EQ(cut.lengthSamples(), 720);
    EXPECT_EQ(cut.firstColumn, 160);
    EXPECT_EQ(cut.secondColumn, 260);

    // At 50 mm/s each dropped sample is four columns.
    const ReportExcerpt fast = fitToStrip(ReportExcerpt{100, 330, 400, 500}, 4);
    EXPECT_EQ(fast.startSample, 125);
    EXPECT_EQ(fast.endSample, 305);
    EXPECT_EQ(fast.firstColumn, 300);
    EXPECT_EQ(fast.secondColumn, 400);
}

TEST(ReportExcerpt, CalipersLeftOfTheCut)
{
    // First line cut away: no calipers on the page.
    const ReportExcerpt gone = fitToStrip(ReportExcerpt{0, 460, 20, 300}, 2);
    EXPECT_EQ(gone.firstColumn, ReportExcerpt::kNoCaliper);
    EXPECT_FALSE(gone.hasCalipers());
    EXPECT_EQ(gone.secondColumn, 200);
    // Second line cut away: held at the left edge.
    const ReportExcerpt held = fitToStrip(ReportExcerpt{0, 460, 300, 20}, 2);
    EXPECT_EQ(held.firstColumn, 200);
    EXPECT_EQ(held.secondColumn, 0);
    // No calipers stay none.
    EXPECT_FALSE(fitToStrip(ReportExcerpt{0, 100, -1, 0}, 2).hasCalipers());
}

TEST(ReportExcerpt, PrintButtonRequestTakesTheViewAsItStandsAndIsCutForPaper)
{
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

    StripWindow window;
    const ReportStrip strip = reportStripOf(request, window);
    EXPECT_EQ(strip.window, &window);
    EXPECT_EQ(strip.excerpt.startSample, 1750);
    EXPECT_EQ(strip.excerpt.endSample, 2110);
    EXPECT_EQ(strip.excerpt.firstColumn, 50);
    EXPECT_EQ(strip.excerpt.secondColumn, 0);  // 90 - 100 is held at the edge
    EXPECT_EQ(strip.unitsPerMillivolt, -51);
}

}  // namespace
}  // namespace lumen
