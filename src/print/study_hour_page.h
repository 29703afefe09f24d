// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>

#include "print/study_page.h"
#include "print/study_report_sources.h"

namespace lumen {

// The hourly table: one row per clock hour, as many pages as it takes.
class StudyHourPage {
public:
    static constexpr int32_t kRowHeight = 560;

    // Rows a page holds on a sheet of that height.
    static size_t rowsPerPage(int32_t pageHeight);
    // Draws rows [first, first + rowsPerPage) of the table.
    static void draw(StudyPage& page, const StudyReportSources& sources, size_t firstRow, int32_t pageHeight);
};

}  // namespace lumen
