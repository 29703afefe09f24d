// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_strip_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "print/report_strip.h"
#include "print/report_strip_painter.h"
#include "store/recording.h"
#include "store/time_units.h"
#include "study/heart_rate_blocks.h"
#include "view/strip_window.h"

namespace lumen {
namespace {

constexpr int32_t kTop = -500;
constexpr int32_t kCaptionHeight = 550;
constexpr int32_t kStripPitch = 6650;

// The strip's first sample: the event in the middle, within the recording.
int32_t firstSampleOf(const FlaggedEvent& event, int32_t blockCount) {
    const int32_t last = std::max(0, blockCount * kSamplesPerBlock - StudyStripPage::kStripSamples);
    return std::clamp(event.positionTicks - StudyStripPage::kStripSamples / 2, 0, last);
}

std::string captionOf(const FlaggedEvent& event, const StudyReportSources& sources, int32_t firstSample) {
    const RateBlock beats =
        HeartRateBlocks::intervalsWithin(sources.input.words, quarterTicksOfTicks(firstSample),
                                         quarterTicksOfTicks(firstSample + StudyStripPage::kStripSamples));
    char rate[32] = "HR: --- b/min";
    if (beats.sumMs > 0) std::snprintf(rate, sizeof rate, "HR: %ld b/min", std::lround(beats.rate()));
    return event.name + "    " + clockAt(sources.figures.startTickOfDay, event.positionTicks) + "    " + rate +
           "    25 mm/s    10 mm/mV";
}

}  // namespace

void StudyStripPage::draw(StudyPage& page, const StudyReportSources& sources, size_t first, Size pageHundredthMm,
                          std::string_view pageLabel) {
    constexpr int32_t kWidth = kStripSamples * kPixelsPerSample * kHundredthMmPerSampleStep;
    const int32_t left = (pageHundredthMm.width - kWidth) / 2;
    const size_t end = std::min(sources.flaggedEvents.size(), first + kStripsPerPage);
    const int32_t blockCount = sources.recording.blockCount();
    for (size_t i = first; i < end; ++i) {
        const FlaggedEvent& event = sources.flaggedEvents[i];
        const int32_t firstSample = firstSampleOf(event, blockCount);
        const int32_t firstBlock = firstSample / kSamplesPerBlock;
        StripWindow window;
        // The viewer's own window writes its corrections back by this place.
        const Recording::BeatWindowPlace viewersWindow = sources.recording.beatWindow;
        window.loadWithClocks(sources.recording, firstBlock);
        sources.recording.beatWindow = viewersWindow;
        ReportStrip strip;
        strip.window = &window;
        strip.excerpt.startSample = firstSample - firstBlock * kSamplesPerBlock;
        strip.excerpt.endSample = strip.excerpt.startSample + kStripSamples;
        strip.pixelsPerSample = kPixelsPerSample;
        strip.amplitudeStep = kAmplitudeStep;
        strip.unitsPerMillivolt = sources.unitsPerMillivolt;
        strip.widthHundredthMm = kWidth;
        const int32_t top = kTop - static_cast<int32_t>(i - first) * kStripPitch;
        page.canvas().setBkMode(BackgroundMode::Transparent);
        page.text(Point{left, top}, TextAlign::Left, captionOf(event, sources, firstSample));
        if (i == first) page.text(Point{left + kWidth, top}, TextAlign::Right, pageLabel);
        ReportStripPainter(page.canvas(), page.tools(), strip, Point{left, top - kCaptionHeight}).paint();
        page.canvas().selectFont(page.tools().textFont);
    }
}

}  // namespace lumen
