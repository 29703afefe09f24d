// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_hour_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace lumen {
namespace {

constexpr int32_t kTableTop = -2200;
constexpr int32_t kBottomRoom = 2000;
constexpr std::array<const char*, 12> kColumns = {"Hour",     "Beats",  "HR min", "HR mean", "HR max", "V",
                                                  "Couplets", "V runs", "S",      "SV runs", "Pauses", "AF min"};

std::array<std::string, kColumns.size()> cells(const HourFigures& h) {
    const auto n = [](long long v) { return std::to_string(v); };
    char hour[8];
    std::snprintf(hour, sizeof hour, "%02d:00", h.clockHour);
    char fibrillation[16];
    std::snprintf(fibrillation, sizeof fibrillation, "%.1f", h.fibrillationMinutes);
    const auto rate = [&](int32_t v) { return v > 0 ? n(v) : std::string("-"); };
    return {hour,
            n(h.beats),
            rate(h.heartRateMinimum),
            rate(h.heartRateMean),
            rate(h.heartRateMaximum),
            n(h.ventricular),
            n(h.couplets),
            n(h.ventricularRuns),
            n(h.supraventricular),
            n(h.supraventricularRuns),
            n(h.pauses),
            fibrillation};
}

}  // namespace

size_t StudyHourPage::rowsPerPage(int32_t pageHeight) {
    return static_cast<size_t>(std::max(1, (pageHeight + kTableTop - kBottomRoom) / kRowHeight - 1));
}

void StudyHourPage::draw(StudyPage& page, const StudyReportSources& sources, size_t firstRow, int32_t pageHeight) {
    page.title(Point{page.left(), -1000}, "Hourly table");
    const int32_t width = page.right() - page.left();
    const int32_t columnWidth = width / static_cast<int32_t>(kColumns.size());
    const auto columnRight = [&](size_t c) { return page.left() + static_cast<int32_t>(c + 1) * columnWidth - 100; };
    int32_t y = kTableTop;
    for (size_t c = 0; c < kColumns.size(); ++c) page.text(Point{columnRight(c), y}, TextAlign::Right, kColumns[c]);
    y -= kRowHeight;
    page.line(Point{page.left(), y + 80}, Point{page.right(), y + 80});
    const auto& hours = sources.figures.hours;
    const size_t end = std::min(hours.size(), firstRow + rowsPerPage(pageHeight));
    for (size_t r = firstRow; r < end; ++r) {
        const auto row = cells(hours[r]);
        for (size_t c = 0; c < row.size(); ++c) page.text(Point{columnRight(c), y}, TextAlign::Right, row[c]);
        y -= kRowHeight;
        if ((r + 1) % 4 == 0) page.line(Point{page.left(), y + 80}, Point{page.right(), y + 80});
    }
}

}  // namespace lumen
