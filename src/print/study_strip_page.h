// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <string_view>

#include "print/study_page.h"
#include "print/study_report_sources.h"

namespace lumen {

// The flagged events as 10-second strips at 25 mm/s and 10 mm/mV on
// landscape pages (250 mm of paper), drawn as the event report draws its strip.
class StudyStripPage {
public:
    static constexpr size_t kStripsPerPage = 3;
    static constexpr int32_t kStripSamples = 500;   // 10 s
    static constexpr int32_t kPixelsPerSample = 2;  // 25 mm/s
    static constexpr int32_t kAmplitudeStep = 2;    // 10 mm/mV

    // Draws strips [first, first + kStripsPerPage) of the flagged events;
    // the page's number goes beside the first one, where a footer has no room.
    static void draw(StudyPage& page, const StudyReportSources& sources, size_t first, Size pageHundredthMm,
                     std::string_view pageLabel);
};

}  // namespace lumen
