// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen {

class EventCatalog;
class LanguageTexts;
class Recording;
class TrendTable;

// The texts and numbers of the report page besides the chart and the strip.
// Texts are UTF-8.
struct ReportFacts {
    std::string patientLine;   // without its line break
    std::string statistics;    // the beat statistics line
    std::string eventCaption;  // the description of the selected event
    std::string versionText;   // version.dat of the current directory
    int32_t eventTimeOfDayTicks = 0;
    int32_t eventOrdinal = 0;  // number of the event within its row
    int32_t eventCount = 0;    // events in that row
    uint8_t heartRate = 0;     // at the selected event; 0: none
};

// The facts as they stand when the print button is pressed. The caption is
// the event browser's description of the selected event.
ReportFacts gatherReportFacts(Recording& recording, const TrendTable& trends, EventCatalog& catalog,
                              const LanguageTexts& texts, std::string eventCaption);

// The first 99 bytes of the file, line breaks at its end dropped; empty
// when it cannot be read.
std::string readVersionText(const std::string& path, const LanguageTexts& texts);

}  // namespace lumen
