// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "events/event_catalog.h"
#include "print/report_printer.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "support/command_run.h"
#include "support/temp_home.h"

namespace lumen::testing {

// A one-hour demo home opened as the viewer opens it: events fed into the
// catalog, the first one selected by a screen paint, the strip window
// loaded around it as a 920-column strip at 25 mm/s shows it.
struct ReportFixture {
    explicit ReportFixture(uint32_t seed = 3);

    TempHome folder;  // first in, last out: the recording closes before its folder goes
    std::string home = folder.path("home/");
    std::unique_ptr<Recording> recording;
    TrendTable trends;
    LanguageTexts texts;
    std::unique_ptr<EventCatalog> catalog;
    StripWindow window;
    PrintRequest request;  // both channels, 10 mm/mV, no measuring lines

    ReportFacts facts(const std::string& caption) {
        return gatherReportFacts(*recording, trends, *catalog, texts, caption);
    }
    ReportSources sources(const ReportFacts& facts) { return ReportSources{texts, *catalog, window, facts}; }
};

}  // namespace lumen::testing
