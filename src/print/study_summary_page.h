// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "print/study_page.h"
#include "print/study_report_sources.h"

namespace lumen {

// Page 1: the whole recording in numbers, the interpretation and the
// reviewer's signature.
class StudySummaryPage {
public:
    StudySummaryPage(StudyPage& page, const StudyReportSources& sources);
    void draw();

private:
    int32_t drawHeader();
    int32_t drawLeftColumn(int32_t y);
    int32_t drawRightColumn(int32_t y);
    void drawEctopy(int32_t& y, std::string_view heading, const EctopyFigures& e, bool withBigeminy);
    void drawSignature(int32_t y);
    std::string at(int64_t positionTicks) const;
    void row(int32_t& y, std::string_view label, const std::string& value);

    StudyPage& page_;
    const StudyReportSources& sources_;
    const StudyFigures& f_;
    int32_t columnX_ = 0;
    int32_t columnWidth_ = 0;
};

}  // namespace lumen
