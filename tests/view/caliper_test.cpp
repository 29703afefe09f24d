#include "view/caliper.h"

#include <gtest/gtest.h>

#include "events/recording_canvas.h"
#include "strip_test_home.h"

namespace lumen {
namespace {

using testing::StripTestHome;

PixelStreams streamsWith(uint8_t leftValue, uint8_t rightValue) {
    PixelStreams streams;
    streams.reserveColumns(200);
    streams.columns = 200;
    streams.channel1[10] = leftValue;
    streams.channel1[60] = rightValue;
    return streams;
}

TEST(CaliperFigures, RateOnlyFromTwoHundredFortyMilliseconds) {
    const PixelStreams streams = streamsWith(128, 128);
    Caliper caliper;
    caliper.firstColumn = 100;
    caliper.secondColumn = 124;
    EXPECT_TRUE(caliperFigures(caliper, streams, 1, 1).showsRate);  // 480 ms
    caliper.secondColumn = 111;
    EXPECT_FALSE(caliperFigures(caliper, streams, 1, 1).showsRate);  // 220 ms
    caliper.secondColumn = 100;
    EXPECT_FLOAT_EQ(caliperFigures(caliper, streams, 1, 1).intervalMs, 0.0f);
    EXPECT_FALSE(caliperFigures(caliper, streams, 1, 1).showsRate);
}

class CaliperPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.painter->view().pixelsPerSample = 1;
        home.painter->loadStripAround(1000);  // sample s in column s - 720; spike at 380
    }
    StripTestHome home;
};

TEST_F(CaliperPaintTest, DragWritesIntervalRateAndBothVoltages) {
    auto canvas = std::make_unique<test::RecordingCanvas>();
    test::RecordingCanvas& log = *canvas;
    home.host.image = std::move(canvas);
    home.painter->pressCaliper(310, MouseKeys::LeftAlone);
    log.forget();
    EXPECT_EQ(home.painter->moveCaliper(380, MouseKeys::LeftAlone), CaliperMove::Moved);
    const int32_t h = 14;  // "M" on the logging canvas
    const int32_t bottom = testing::TestStripHost::kHeight;
    auto wrote = [&](const std::string& text, Point at) {
        for (const auto& t : log.texts) {
            if (t.text == text && t.at == at) return true;
        }
        return false;
    };
    EXPECT_TRUE(wrote("1400 msec", {385, h + 1}));
    EXPECT_TRUE(wrote("43 bpm", {385, 2 * h}));
    EXPECT_TRUE(wrote("Ch1: 1.00 mV", {385, bottom - 1 - 3 * h}));
    EXPECT_TRUE(wrote("Ch2: -0.51 mV", {385, bottom - 1 - 2 * h}));
    EXPECT_EQ(home.painter->caliper().firstColumn, 310);
    EXPECT_EQ(home.painter->caliper().secondColumn, 380);
}

// Rows between the beat letters and the ticks: there every paint draws the
// same pixels, while the edges of smoothed letters darken with each redraw.
constexpr int32_t kTopRow = 20;
constexpr int32_t kBottomRow = 165;

TEST_F(CaliperPaintTest, DraggingOnErasesTheOldLineAndItsTexts) {
    const auto& image = static_cast<const RasterCanvas&>(*home.host.image);
    std::vector<uint32_t> clean;
    for (int32_t x = 376; x < 420; ++x) {
        for (int32_t y = kTopRow; y < kBottomRow; ++y) clean.push_back(image.pixel(x, y));
    }
    home.painter->pressCaliper(310, MouseKeys::LeftAlone);
    home.painter->moveCaliper(380, MouseKeys::LeftAlone);
    EXPECT_EQ(home.imageColor(380, 150), home.host.colors.caliper);
    EXPECT_EQ(home.paneColor(380, 150), home.host.colors.caliper);
    home.painter->moveCaliper(420, MouseKeys::LeftAlone);
    size_t i = 0;
    for (int32_t x = 376; x < 420; ++x) {
        for (int32_t y = kTopRow; y < kBottomRow; ++y, ++i) {
            ASSERT_EQ(image.pixel(x, y), clean[i]) << x << "," << y;
        }
    }
    EXPECT_EQ(home.paneColor(380, 150), home.imageColor(380, 150));
    EXPECT_EQ(home.imageColor(310, 150), home.host.colors.caliper);
}

TEST_F(CaliperPaintTest, PressNearTheLastReleaseMovesTheSecondLine) {
    home.painter->pressCaliper(300, MouseKeys::LeftAlone);
    home.painter->releaseCaliper(300);
    home.painter->pressCaliper(302, MouseKeys::LeftAlone);
    EXPECT_EQ(home.painter->caliper().firstColumn, 300);
    EXPECT_EQ(home.painter->caliper().secondColumn, 302);
    home.painter->releaseCaliper(302);
    EXPECT_EQ(home.painter->moveCaliper(600, MouseKeys::LeftAlone), CaliperMove::OutsideStrip);
    EXPECT_EQ(home.painter->moveCaliper(350, MouseKeys::Other), CaliperMove::Ignored);
    EXPECT_EQ(home.painter->caliper().secondColumn, 302);
    home.painter->caliper().forgetRelease();
    home.painter->pressCaliper(302, MouseKeys::LeftAlone);
    EXPECT_EQ(home.painter->caliper().firstColumn, 302);
    EXPECT_EQ(home.painter->view().caliperCleared, 0);
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
