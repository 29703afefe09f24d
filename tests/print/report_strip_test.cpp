#include "print/report_strip_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "events/recording_canvas.h"

namespace lumen {
namespace {

constexpr int32_t L = 1000;
constexpr int32_t T = -18999;

// A strip window with flat signal; beats and episodes are added by hand.
struct PaperStrip {
    StripWindow window;
    ReportStrip strip;
    ReportTools tools;
    test::RecordingCanvas canvas;

    explicit PaperStrip(int32_t length, int32_t pixelsPerSample = 2)
    {
        window.beatPositions.assign(1, 0);
        strip.window = &window;
        strip.excerpt = ReportExcerpt{100, 100 + length, ReportExcerpt::kNoCaliper, 0};
        strip.pixelsPerSample = pixelsPerSample;
    }
    // A beat on excerpt sample i with the given label and quarter-sample phase.
    void addBeat(int32_t i, uint8_t label, uint32_t phase = 0)
    {
        const int32_t sample = 100 + i;
        window.beatLabel[static_cast<size_t>(sample)] = label;
        window.ordinals1[static_cast<size_t>(sample)] = static_cast<uint32_t>(window.beatPositions.size());
        window.beatPositions.push_back(static_cast<uint32_t>(sample) * 4 + phase);
    }
    void markEpisode(int32_t from, int32_t to, uint8_t code, uint8_t pen)
    {
        for (int32_t i = from; i < to; ++i) {
            window.episodeCode[static_cast<size_t>(100 + i)] = code;
            window.penIndex[static_cast<size_t>(100 + i)] = pen;
        }
    }
    void paint() { ReportStripPainter(canvas, tools, strip, Point{L, T}).paint(); }
    const test::RecordingCanvas::Text* text(const std::string& wanted) const
    {
        const auto found = std::find_if(canvas.texts.begin(), canvas.texts.end(),
                                        [&](const auto& t) { return t.text == wanted; });
        return found == canvas.texts.end() ? nullptr : &*found;
    }
    // Lines drawn with a pen of that width (8: grid and traces, 40: bold).
    std::vector<test::RecordingCanvas::Line> linesWithPen(int32_t width) const
    {
        std::vector<test::RecordingCanvas::Line> found;
        std::copy_if(canvas.lines.begin(), canvas.lines.end(), std::back_inserter(found),
                     [&](const auto& line) { return line.pen.width == width; });
        return found;
    }
};

TEST(ReportStrip, SampleScaleFollowsAmplitudeSettingAndIsClampedToTheStrip)
{
    EXPECT_EQ(ReportStripPainter::sampleOffset(200, 2, 0), 0);  // unknown scale draws flat

    PaperStrip paper(20);
    paper.strip.channelMode = 2;
    paper.window.channel2[105] = 255;
    paper.paint();
    for (const auto& line : paper.linesWithPen(8)) {
        EXPECT_LE(line.to.y, T);
        EXPECT_GE(line.to.y, T - 6000);
    }
}

TEST(ReportStrip, BeatLettersTicksAndRrIntervals)
{
    PaperStrip paper(180, 4);
    paper.addBeat(10, 2 * 4 + 0, 3);   // N, phase 3
    paper.addBeat(60, 7 * 4 + 2, 0);   // V
    paper.addBeat(100, 125, 1);        // L
    paper.addBeat(150, 5 * 4 + 3, 2);  // A
    paper.paint();
    auto x = [](int32_t i) { return L + i * 100; };
    ASSERT_NE(paper.text("N"), nullptr);
    EXPECT_EQ(paper.text("N")->at, (Point{x(10), T - 50}));
    EXPECT_EQ(paper.text("V")->at, (Point{x(60), T - 50}));
    EXPECT_NE(paper.text("L"), nullptr);
    EXPECT_NE(paper.text("A"), nullptr);
    const auto ticks = paper.linesWithPen(40);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[0].from, (Point{x(10) - 25 + 25, T - 5000}));
    EXPECT_EQ(ticks[0].to, (Point{x(10), T - 5400}));
    EXPECT_EQ(ticks[1].from.x, x(60) - 25 - 50);
    EXPECT_EQ(ticks[2].from.x, x(100) - 25 - 25);
    EXPECT_EQ(ticks[3].from.x, x(150) - 25);
    // (50 samples * 4 - 3 quarters) * 5 ms
    ASSERT_NE(paper.text("985"), nullptr);
    EXPECT_EQ(paper.text("985")->at, (Point{x(10) + 400, T - 5580}));
    // Quarter samples count: (50 samples * 4 + 1 quarter) * 5 ms.
    ASSERT_NE(paper.text("1005"), nullptr);
    EXPECT_EQ(paper.text("1005")->at, (Point{x(100) + 400, T - 5580}));
}

TEST(ReportStrip, NoRrLabelForABeatWithinTheLastSevenMillimetres)
{
    PaperStrip paper(360);
    paper.addBeat(340, 0);  // x = L + 17000
    paper.addBeat(347, 0);  // x = L + 17350: its interval would not fit
    paper.addBeat(355, 0);
    paper.paint();
    EXPECT_NE(paper.text("140"), nullptr);  // 7 samples, 20 ms each
    EXPECT_EQ(paper.text("160"), nullptr);
}

TEST(ReportStrip, CalipersWithIntervalRateAndVoltages)
{
    const auto calipers = [](int32_t first, int32_t second, int32_t pixelsPerSample) {
        auto paper = std::make_unique<PaperStrip>(720 / pixelsPerSample, pixelsPerSample);
        paper->strip.excerpt.firstColumn = first;
        paper->strip.excerpt.secondColumn = second;
        paper->strip.channel1Millivolts = 1.0f;
        paper->strip.channel2Millivolts = -0.5f;
        paper->paint();
        return paper;
    };
    auto paper = calipers(100, 150, 2);
    ASSERT_NE(paper->text("500 msec"), nullptr);
    EXPECT_EQ(paper->text("500 msec")->at, (Point{L + 150 * 25 + 100, T - 300}));
    EXPECT_EQ(paper->text("120 bpm")->at, (Point{L + 150 * 25 + 100, T - 800}));
    EXPECT_EQ(paper->text("Ch1: 1.00 mV")->at, (Point{L + 150 * 25 + 100, T - 4800}));
    EXPECT_NE(paper->text("Ch2: -0.50 mV"), nullptr);
    const auto lines = paper->linesWithPen(40);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from, (Point{L + 2500, T}));
    EXPECT_EQ(lines[0].to, (Point{L + 2500, T - 6000}));

    EXPECT_NE(calipers(80, 80, 2)->text("0 msec"), nullptr);
    EXPECT_EQ(calipers(80, 80, 2)->text("0 bpm"), nullptr);
    EXPECT_NE(calipers(110, 120, 1)->text("200 msec"), nullptr);
    EXPECT_EQ(ReportStripPainter::printedRate(200), 0);  // 300 bpm is not printed
    EXPECT_NE(calipers(144, 120, 2)->text("250 bpm"), nullptr);
    EXPECT_EQ(ReportStripPainter::printedRate(0), 0);

    auto none = calipers(-1, 120, 2);
    EXPECT_TRUE(none->linesWithPen(40).empty());
}

TEST(ReportStrip, TracesAreBoldInsideEpisodesAndEpisodesAreNamedAtTheirFirstRealBeat)
{
    PaperStrip paper(360);
    paper.strip.channelMode = 1;
    paper.markEpisode(20, 60, 34, 1);
    paper.addBeat(25, 3);      // artefact: the name waits
    paper.addBeat(30, 4 * 4 + 2);
    paper.addBeat(70, 0);
    paper.paint();
    const test::RecordingCanvas::Text* name = paper.text("VE Run");
    ASSERT_NE(name, nullptr);
    const int32_t halfN = 7 / 2;  // the recording canvas measures 7 per letter
    EXPECT_EQ(name->at, (Point{L + 29 * 50 - halfN, T - 600}));
    int bold = 0;
    for (const auto& line : paper.linesWithPen(40)) {
        if (line.from.y != T - 5000) {
            EXPECT_GE(line.from.x, L + 20 * 50);
            EXPECT_LE(line.to.x, L + 60 * 50);
            ++bold;
        }
    }
    EXPECT_EQ(bold, 40);
}

}  // namespace
}  // namespace lumen
