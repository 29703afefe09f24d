// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "lang/text_id.h"
#include "platform/draw/canvas.h"
#include "print/report_facts.h"
#include "print/report_strip.h"
#include "print/report_tools.h"

namespace lumen {

class EventCatalog;
class LanguageTexts;

// The one-page report, drawn in 0.01 mm with y growing upward from the top
// edge of an A4 portrait page: header, beat statistics, the event
// distribution chart of the catalog, the data of the selected event and the
// 60 mm ECG strip.
class ReportPage {
public:
    static constexpr int32_t kLeft = 1000;
    static constexpr int32_t kRight = 19000;
    static constexpr int32_t kCentre = 10000;
    static constexpr Point kStripTopLeft{1000, -18999};
    static constexpr Rect kChartArea{1000, -4000, 19000, -15500};

    ReportPage(Canvas& canvas, const ReportTools& tools, const LanguageTexts& texts);

    // Draws everything on a page already started; the canvas is left in
    // its page units.
    void draw(const ReportFacts& facts, const ReportStrip& strip, EventCatalog& catalog);

private:
    void drawHeader(const ReportFacts& facts);
    void drawStatistics(const ReportFacts& facts);
    void drawChart(EventCatalog& catalog);
    void drawEventData(const ReportFacts& facts, const ReportStrip& strip);
    void textAt(Point at, TextAlign align, const std::string& text);
    std::string format(TextId entry, auto... values) const;

    Canvas& canvas_;
    const ReportTools& tools_;
    const LanguageTexts& texts_;
};

}  // namespace lumen
