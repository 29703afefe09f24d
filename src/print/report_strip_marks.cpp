// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <optional>
#include <string>

#include "print/report_strip_painter.h"
#include "store/beat_word.h"
#include "view/beat_marks.h"

namespace lumen {

namespace {

constexpr int32_t kLastRrLabelRoom = 700;  // an RR label needs 7 mm of strip

std::string formatted(const char* format, auto... values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

}  // namespace

void ReportStripPainter::drawBeatRow() {
    canvas_.setBkMode(BackgroundMode::Opaque);
    canvas_.setBkColor(whiteColor);
    canvas_.setTextAlign(TextAlign::Center | TextAlign::Top);
    canvas_.selectFont(tools_.textFont);
    canvas_.selectPen(tools_.boldPen);
    const int32_t pixelsPerSample = step_ / 25;
    std::optional<uint32_t> previousPosition;
    int32_t previousX = 0;
    for (int32_t i = 0; onStrip(i); ++i) {
        const int32_t x = xOf(i);
        const uint8_t beat = label(i);
        if (beat != kNoBeatLabel) {
            canvas_.textOut(Point{x, top_ - 50}, beatLetter(beat));
        }
        if (window_.ordinalAt(start_ + i) == 0) {
            continue;
        }
        const uint32_t position = beatPosition(i);
        const int32_t tickX = x - 25 + quarterSampleShift(position, pixelsPerSample);
        canvas_.moveTo(Point{tickX, top_ - 5000});
        canvas_.lineTo(Point{tickX, top_ - 5400});
        if (previousPosition && previousX < left_ + width_ - kLastRrLabelRoom) {
            const int32_t intervalMs = static_cast<int32_t>(position - *previousPosition) * 5;
            canvas_.textOut(Point{previousX + 400, top_ - 5580}, formatted("%d", intervalMs));
        }
        previousPosition = position;
        previousX = x;
    }
}

void ReportStripPainter::drawChannelNames() {
    canvas_.setTextAlign(TextAlign::Left | TextAlign::Top);
    canvas_.textOut(Point{left_ + 100, top_ - 1350}, "CH1");
    canvas_.textOut(Point{left_ + 100, top_ - 4350}, "CH2");
}

// Measuring lines stand where they stood on the screen: one screen column
// is 0.25 mm on paper.
void ReportStripPainter::drawCalipers() {
    const ReportExcerpt& excerpt = strip_.excerpt;
    if (!excerpt.hasCalipers()) {
        return;
    }
    canvas_.selectPen(tools_.boldPen);
    const int32_t x1 = left_ + 25 * excerpt.firstColumn;
    const int32_t x2 = left_ + 25 * excerpt.secondColumn;
    for (const int32_t x : {x1, x2}) {
        canvas_.moveTo(Point{x, top_});
        canvas_.lineTo(Point{x, top_ - kHeight});
    }
    const int32_t pixelsPerSample = step_ / 25;
    const int32_t distance = excerpt.firstColumn > excerpt.secondColumn ? excerpt.firstColumn - excerpt.secondColumn
                                                                        : excerpt.secondColumn - excerpt.firstColumn;
    const int32_t intervalMs = distance * 20 / pixelsPerSample;
    canvas_.textOut(Point{x2 + 100, top_ - 300}, formatted("%d msec", intervalMs));
    if (const int32_t rate = printedRate(intervalMs); rate > 0) {
        canvas_.textOut(Point{x2 + 100, top_ - 800}, formatted("%d bpm", rate));
    }
    canvas_.textOut(Point{x2 + 100, top_ - 4800},
                    formatted("Ch1: %.2f mV", static_cast<double>(strip_.channel1Millivolts)));
    canvas_.textOut(Point{x2 + 100, top_ - 5200},
                    formatted("Ch2: %.2f mV", static_cast<double>(strip_.channel2Millivolts)));
}

// An episode is named at the first beat after its code appears that is not
// an artefact, so that its name stands over a real beat.
void ReportStripPainter::drawEpisodeNames() {
    canvas_.setTextAlign(TextAlign::Left | TextAlign::Top);
    canvas_.setBkMode(BackgroundMode::Transparent);
    const int32_t halfLetter = canvas_.textExtent("N").width / 2;
    constexpr int32_t none = -1;
    int32_t seenLast = none;
    int32_t pending = none;
    for (int32_t i = 1; onStrip(i); ++i) {
        const uint8_t beat = label(i);
        if (beat != kNoBeatLabel && pending != none && beat % 4 != static_cast<uint8_t>(BeatClass::Artefact)) {
            drawEpisodeName(episodeName(static_cast<uint8_t>(pending)), xOf(i - 1), halfLetter);
            pending = none;
        }
        const int32_t code = window_.episodeCode[static_cast<size_t>(start_ + i)];
        if (seenLast != code) {
            seenLast = code;
            pending = code;
        }
    }
}

void ReportStripPainter::drawEpisodeName(std::string_view name, int32_t x, int32_t halfLetter) {
    while (!name.empty() && x + canvas_.textExtent(name).width - halfLetter > left_ + width_) {
        name.remove_suffix(1);
    }
    if (!name.empty()) {
        canvas_.textOut(Point{x - halfLetter, top_ - 600}, name);
    }
}

}  // namespace lumen
