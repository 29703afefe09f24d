// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "print/print_host.h"
#include "print/study_report_sources.h"

namespace lumen {

class EventCatalog;
class Recording;

// The study report: the summary, the trends, the hourly table and the
// flagged strips, page after page on one print job.
class StudyReport {
public:
    static constexpr const char* kDocumentName = "Holter study report";

    static int32_t pageCount(const StudyReportSources& sources);
    // Draws every page; false when the output lost a page or failed to finish.
    static bool print(PageOutput& output, const StudyReportSources& sources);
    // The events of the "To printer" row, named by their episode's category,
    // as many as the report prints.
    static std::vector<FlaggedEvent> flaggedEvents(const EventCatalog& catalog, Recording& recording);
    // The day the report is made, "YYYY-MM-DD" in local time.
    static std::string todayIso();
};

}  // namespace lumen
