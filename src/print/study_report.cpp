// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/study_report.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "events/event_catalog.h"
#include "events/event_category.h"
#include "events/event_code_table.h"
#include "print/study_hour_page.h"
#include "print/study_strip_page.h"
#include "print/study_summary_page.h"
#include "print/study_trend_page.h"
#include "store/episode_record.h"
#include "store/recording.h"
#include "store/section_id.h"

namespace lumen {
namespace {

constexpr int32_t kFirstHourPage = 3;

size_t hourPages(const StudyReportSources& sources) {
    const size_t rows = StudyHourPage::rowsPerPage(sources.sheetHundredthMm.height);
    return std::max<size_t>(1, (sources.figures.hours.size() + rows - 1) / rows);
}

size_t stripPages(const StudyReportSources& sources) {
    const size_t per = StudyStripPage::kStripsPerPage;
    return (sources.flaggedEvents.size() + per - 1) / per;
}

std::string pageLabel(int32_t page, int32_t pages) {
    char text[32];
    std::snprintf(text, sizeof text, "Page %d of %d", page, pages);
    return text;
}

std::string episodeName(Recording& recording, int32_t episodeIndex) {
    if (episodeIndex < 0 || !recording.selectSection(SectionId::Episodes)) return "Event";
    const SectionPlace place = recording.selectedSection();
    const uint64_t at = uint64_t{place.offset} + uint64_t{static_cast<uint32_t>(episodeIndex)} * kEpisodeRecordBytes;
    if (at + kEpisodeRecordBytes > uint64_t{place.offset} + place.length) return "Event";
    std::array<uint8_t, kEpisodeRecordBytes> bytes;
    recording.file().readAt(at, bytes);
    const int32_t row = EventCodeTable::rowOfCode(EpisodeRecord::parse(bytes).code);
    return row >= 0 ? std::string(EventCodeTable::category(row).longName) : std::string("Event");
}

}  // namespace

int32_t StudyReport::pageCount(const StudyReportSources& sources) {
    return static_cast<int32_t>(kFirstHourPage - 1 + hourPages(sources) + stripPages(sources));
}

bool StudyReport::print(PageOutput& output, const StudyReportSources& sources) {
    const ReportTools tools;
    const int32_t pages = pageCount(sources);
    const Size portrait = orientedPage(sources.sheetHundredthMm, PageOrientation::Portrait);
    int32_t number = 0;
    bool complete = true;
    const auto portraitPage = [&](auto&& drawPage) {
        Canvas* canvas = output.startPage(PageOrientation::Portrait);
        if (canvas == nullptr) {
            complete = false;
            return;
        }
        StudyPage page(*canvas, tools, portrait);
        drawPage(page);
        page.footer(sources.patientLine, pageLabel(++number, pages));
        output.endPage();
    };
    portraitPage([&](StudyPage& page) { StudySummaryPage(page, sources).draw(); });
    portraitPage([&](StudyPage& page) { StudyTrendPage(page, sources).draw(); });
    const size_t rows = StudyHourPage::rowsPerPage(portrait.height);
    for (size_t first = 0, p = 0; p < hourPages(sources); ++p, first += rows)
        portraitPage([&](StudyPage& page) { StudyHourPage::draw(page, sources, first, portrait.height); });
    const Size landscape = orientedPage(sources.sheetHundredthMm, PageOrientation::Landscape);
    for (size_t first = 0; first < sources.flaggedEvents.size(); first += StudyStripPage::kStripsPerPage) {
        Canvas* canvas = output.startPage(PageOrientation::Landscape);
        if (canvas == nullptr) {
            complete = false;
            continue;
        }
        StudyPage page(*canvas, tools, landscape);
        StudyStripPage::draw(page, sources, first, landscape, pageLabel(++number, pages));
        output.endPage();
    }
    return output.finish() && complete;
}

// SOURCE_DATE_EPOCH, where set, fixes the day as reproducible builds fix
// their time stamps: the documentation's reports stay the same.
std::string StudyReport::todayIso() {
    const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
    const std::time_t now =
        fixed != nullptr ? static_cast<std::time_t>(std::strtoll(fixed, nullptr, 10)) : std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (fixed != nullptr)
        gmtime_s(&local, &now);
    else
        localtime_s(&local, &now);
#else
    if (fixed != nullptr)
        gmtime_r(&now, &local);
    else
        localtime_r(&now, &local);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::vector<FlaggedEvent> StudyReport::flaggedEvents(const EventCatalog& catalog, Recording& recording) {
    std::vector<FlaggedEvent> out;
    const EventCategory* row = catalog.category(kToPrinterRow);
    if (row == nullptr) return out;
    for (const EventNode& node : row->events()) {
        if (static_cast<int64_t>(out.size()) >= kMostStudyStrips) break;
        out.push_back({node.positionTicks, episodeName(recording, node.episodeIndex)});
    }
    return out;
}

}  // namespace lumen
