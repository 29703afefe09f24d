// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/caliper.h"

#include <gtest/gtest.h>

#include "strip_test_home.h"

namespace lumen {
namespace {

using testing::StripTestHome;

TEST(CaliperFigures, RateOnlyFromTwoHundredFortyMilliseconds) {
    PixelStreams streams;
    streams.reserveColumns(200);
    streams.columns = 200;
    const std::pair<int32_t, bool> rateShown[] = {{124, true}, {111, false}, {100, false}};  // 480, 220, 0 ms
    for (const auto& [secondColumn, shown] : rateShown) {
        Caliper caliper;
        caliper.firstColumn = 100;
        caliper.secondColumn = secondColumn;
        const CaliperFigures figures = caliperFigures(caliper, streams, 1, 1);
        EXPECT_FLOAT_EQ(figures.intervalMs, 20.0f * static_cast<float>(secondColumn - 100));
        EXPECT_EQ(figures.showsRate, shown) << secondColumn;
    }
}

class CaliperPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.painter->view().pixelsPerSample = 1;
        home.painter->loadStripAround(1000);  // sample s in column s - 720; spike at 380
    }
    StripTestHome home;
};

// Rows between the beat letters and the ticks: there every paint draws the
// same pixels, while the edges of smoothed letters darken with each redraw.
constexpr int32_t kTopRow = 20;
constexpr int32_t kBottomRow = 165;

TEST_F(CaliperPaintTest, DraggingOnErasesTheOldLineAndItsTexts) {
    const auto& image = static_cast<const RasterCanvas&>(*home.host.image);
    const auto around = [&] {
        std::vector<uint32_t> pixels;
        for (int32_t x = 376; x < 420; ++x) {
            for (int32_t y = kTopRow; y < kBottomRow; ++y) pixels.push_back(image.pixel(x, y));
        }
        return pixels;
    };
    const std::vector<uint32_t> clean = around();
    home.painter->pressCaliper(310, MouseKeys::LeftAlone);
    home.painter->moveCaliper(380, MouseKeys::LeftAlone);
    EXPECT_EQ(home.imageColor(380, 150), home.host.colors.caliper);
    EXPECT_EQ(home.paneColor(380, 150), home.host.colors.caliper);
    home.painter->moveCaliper(420, MouseKeys::LeftAlone);
    EXPECT_EQ(around(), clean);
    EXPECT_EQ(home.paneColor(380, 150), home.imageColor(380, 150));
    EXPECT_EQ(home.imageColor(310, 150), home.host.colors.caliper);
}

TEST_F(CaliperPaintTest, SelectionMoveTakesTheLinesOff) {
    home.painter->pressCaliper(300, MouseKeys::LeftAlone);
    home.painter->releaseCaliper(300);
    home.painter->pressCaliper(200, MouseKeys::LeftAlone);
    home.painter->moveCaliper(250, MouseKeys::LeftAlone);
    home.painter->selectNextBeat();
    EXPECT_EQ(home.painter->view().caliperCleared, 1);
    EXPECT_NE(home.imageColor(250, 150), home.host.colors.caliper);
    EXPECT_NE(home.imageColor(200, 150), home.host.colors.caliper);
}

}  // namespace
}  // namespace lumen
