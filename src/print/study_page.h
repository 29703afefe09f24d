// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/canvas.h"
#include "print/report_tools.h"

namespace lumen {

// What every page of the study report shares: a metric canvas (y upward,
// the top edge at 0), margins, a line of text at a time, and the footer
// with the patient and the page number.
class StudyPage {
public:
    static constexpr int32_t kMargin = 1500;     // 15 mm
    static constexpr int32_t kLineHeight = 480;  // 4.8 mm for the 3.5 mm font
    static constexpr int32_t kSmallLineHeight = 360;

    StudyPage(Canvas& canvas, const ReportTools& tools, Size pageHundredthMm);

    int32_t left() const { return kMargin; }
    int32_t right() const { return page_.width - kMargin; }
    int32_t bottom() const { return -page_.height + kMargin; }
    Canvas& canvas() { return canvas_; }
    const ReportTools& tools() const { return tools_; }

    void text(Point at, TextAlign align, std::string_view text);
    void title(Point at, std::string_view text);
    // "label ........ value" between x and x + width on one line.
    void row(int32_t x, int32_t width, int32_t y, std::string_view label, std::string_view value);
    // A heading with a rule under it, from x over `width`.
    void heading(int32_t x, int32_t width, int32_t y, std::string_view text);
    void footer(std::string_view patientLine, std::string_view pageLabel);
    void line(Point from, Point to);
    // The text's lines, each broken at blanks to fit `width` in the current font.
    std::vector<std::string> wrap(std::string_view text, int32_t width);

private:
    Canvas& canvas_;
    const ReportTools& tools_;
    Size page_;
};

// "HH:MM:SS" of the time of day at a position of the recording.
std::string clockAt(int32_t startTickOfDay, int64_t positionTicks);
// "12 h 05 min" of a number of seconds.
std::string hoursMinutes(int64_t seconds);

}  // namespace lumen
