// SPDX-License-Identifier: GPL-3.0-or-later
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

    explicit PaperStrip(int32_t length, int32_t pixelsPerSample = 2) {
        window.beatPositions.assign(1, 0);
        strip.window = &window;
        strip.excerpt = ReportExcerpt{100, 100 + length, ReportExcerpt::kNoCaliper, 0};
        strip.pixelsPerSample = pixelsPerSample;
    }
    // A beat on excerpt sample i with the given label and quarter-sample phase.
    void addBeat(int32_t i, uint8_t label, uint32_t phase = 0) {
        const int32_t sample = 100 + i;
        window.beatLabel[static_cast<size_t>(sample)] = label;
        window.ordinals1[static_cast<size_t>(sample)] = static_cast<uint32_t>(window.beatPositions.size());
        window.beatPositions.push_back(static_cast<uint32_t>(sample) * 4 + phase);
    }
    void paint() { ReportStripPainter(canvas, tools, strip, Point{L, T}).paint(); }
    const test::RecordingCanvas::Text* text(const std::string& wanted) const { return canvas.find(wanted); }
    // Lines drawn with a pen of that width (8: grid and traces, 40: bold).
    std::vector<test::RecordingCanvas::Line> linesWithPen(int32_t width) const {
        std::vector<test::RecordingCanvas::Line> found;
        std::copy_if(canvas.lines.begin(), canvas.lines.end(), std::back_inserter(found),
                     [&](const auto& line) { return line.pen.width == width; });
        return found;
    }
};

TEST(ReportStrip, SampleScaleFollowsAmplitudeSettingAndIsClampedToTheStrip) {
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

TEST(ReportStrip, BeatLettersTicksAndRrIntervalsFromQuarterSamples) {
    PaperStrip paper(180, 4);
    paper.addBeat(10, 2 * 4 + 0, 3);   // N, phase 3
    paper.addBeat(60, 7 * 4 + 2, 0);   // V
    paper.addBeat(100, 125, 1);        // L
    paper.addBeat(150, 5 * 4 + 3, 2);  // A
    paper.paint();
    for (const char* letter : {"N", "V", "L", "A"}) EXPECT_NE(paper.text(letter), nullptr) << letter;
    EXPECT_EQ(paper.linesWithPen(40).size(), 4u);
    EXPECT_NE(paper.text("985"), nullptr);   // (50 samples * 4 - 3 quarters) * 5 ms
    EXPECT_NE(paper.text("1005"), nullptr);  // (50 samples * 4 + 1 quarter) * 5 ms
}

TEST(ReportStrip, NoRrLabelForABeatWithinTheLastSevenMillimetres) {
    PaperStrip paper(360);
    paper.addBeat(340, 0);  // x = L + 17000
    paper.addBeat(347, 0);  // x = L + 17350: its interval would not fit
    paper.addBeat(355, 0);
    paper.paint();
    EXPECT_NE(paper.text("140"), nullptr);  // 7 samples, 20 ms each
    EXPECT_EQ(paper.text("160"), nullptr);
}

// The texts of ordinary calipers are checked on the printed page.
TEST(ReportStrip, CaliperRatesOutsideTheirRangeAreLeftOut) {
    const struct {
        int32_t first, second, pixelsPerSample;
        const char* shown;
        const char* left;
    } cases[] = {
        {80, 80, 2, "0 msec", "0 bpm"}, {110, 120, 1, "200 msec", "300 bpm"}, {144, 120, 2, "250 bpm", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        PaperStrip paper(720 / c.pixelsPerSample, c.pixelsPerSample);
        paper.strip.excerpt.firstColumn = c.first;
        paper.strip.excerpt.secondColumn = c.second;
        paper.paint();
        EXPECT_NE(paper.text(c.shown), nullptr);
        if (c.left != nullptr) {
            EXPECT_EQ(paper.text(c.left), nullptr);
        }
        EXPECT_EQ(paper.linesWithPen(40).size(), 2u);
    }
    EXPECT_EQ(ReportStripPainter::printedRate(0), 0);
    PaperStrip none(360);
    none.strip.excerpt.firstColumn = ReportExcerpt::kNoCaliper;
    none.strip.excerpt.secondColumn = 120;
    none.paint();
    EXPECT_TRUE(none.linesWithPen(40).empty());
}

TEST(ReportStrip, TracesAreBoldInsideEpisodesAndEpisodesAreNamedAtTheirFirstRealBeat) {
    PaperStrip paper(360);
    paper.strip.channelMode = 1;
    for (int32_t i = 20; i < 60; ++i) {
        paper.window.episodeCode[static_cast<size_t>(100 + i)] = 34;
        paper.window.penIndex[static_cast<size_t>(100 + i)] = 1;
    }
    paper.addBeat(25, 3);  // artefact: the name waits
    paper.addBeat(30, 4 * 4 + 2);
    paper.addBeat(70, 0);
    paper.paint();
    const test::RecordingCanvas::Text* name = paper.text("VE Run");
    ASSERT_NE(name, nullptr);
    const int32_t halfN = 7 / 2;  // the recording canvas measures 7 per letter
    EXPECT_EQ(name->at.x, L + 29 * 50 - halfN);
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
