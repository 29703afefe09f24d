// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_catalog.h"

#include "events/event_catalog.h"
#include "print/report_facts.h"
#include "store/trend_table.h"

namespace lumen {

void paintEventChart(Canvas& canvas, EventCatalog& catalog, const Rect& area) {
    catalog.setPrintArea(area);
    catalog.paintAll(canvas, PaintTarget::Paper);
}

void takeSelectedEvent(EventCatalog& catalog, const TrendTable& trends, ReportFacts& facts) {
    facts.eventTimeOfDayTicks = catalog.selectedTimeOfDay();
    facts.eventOrdinal = catalog.selectedOrdinal();
    facts.eventCount = catalog.selectedCount();
    facts.heartRate = trends.heartRateAt(catalog.cursorPosition());
}

}  // namespace lumen
