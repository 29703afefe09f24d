// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_page.h"

#include <algorithm>
#include <cstdio>

#include "study/study_json.h"

namespace lumen {

StudyPage::StudyPage(Canvas& canvas, const ReportTools& tools, Size pageHundredthMm)
    : canvas_(canvas), tools_(tools), page_(pageHundredthMm) {
    canvas_.setMapMode(MapMode::HundredthMillimetre);
    canvas_.setBkMode(BackgroundMode::Transparent);
    canvas_.selectPen(tools_.finePen);
    canvas_.selectFont(tools_.textFont);
}

void StudyPage::text(Point at, TextAlign align, std::string_view text) {
    canvas_.setTextAlign(align);
    canvas_.textOut(at, text);
}

void StudyPage::title(Point at, std::string_view text) {
    const Font previous = canvas_.selectFont(tools_.titleFont);
    this->text(at, TextAlign::Left, text);
    canvas_.selectFont(previous);
}

void StudyPage::row(int32_t x, int32_t width, int32_t y, std::string_view label, std::string_view value) {
    text(Point{x, y}, TextAlign::Left, label);
    text(Point{x + width, y}, TextAlign::Right, value);
}

void StudyPage::heading(int32_t x, int32_t width, int32_t y, std::string_view text) {
    const Font previous = canvas_.selectFont(tools_.titleFont);
    this->text(Point{x, y}, TextAlign::Left, text);
    canvas_.selectFont(previous);
    constexpr int32_t kRuleDrop = 560;
    line(Point{x, y - kRuleDrop}, Point{x + width, y - kRuleDrop});
}

void StudyPage::footer(std::string_view patientLine, std::string_view pageLabel) {
    const Font previous = canvas_.selectFont(tools_.smallFont);
    const int32_t y = -page_.height + kMargin / 2;
    text(Point{left(), y}, TextAlign::Left, patientLine);
    text(Point{right(), y}, TextAlign::Right, pageLabel);
    canvas_.selectFont(previous);
}

void StudyPage::line(Point from, Point to) {
    canvas_.moveTo(from);
    canvas_.lineTo(to);
}

std::vector<std::string> StudyPage::wrap(std::string_view text, int32_t width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line;
        for (size_t at = start; at < end;) {
            const size_t blank = std::min(text.find(' ', at), end);
            const std::string_view word = text.substr(at, blank - at);
            const std::string wider = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && canvas_.textExtent(wider).width > width) {
                lines.push_back(line);
                line = std::string(word);
            } else {
                line = wider;
            }
            at = blank + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string clockAt(int32_t startTickOfDay, int64_t positionTicks) {
    return StudyJson::clockText(startTickOfDay + positionTicks);
}

std::string hoursMinutes(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld h %02lld min", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60));
    return text;
}

}  // namespace lumen
