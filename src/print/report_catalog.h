// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/draw/canvas.h"

namespace lumen {

class EventCatalog;
class TrendTable;
struct ReportFacts;

// The report's dealings with the event catalog: the event distribution
// chart laid into a rectangle of the page, and the selected event's data.
void paintEventChart(Canvas& canvas, EventCatalog& catalog, const Rect& area);
void takeSelectedEvent(EventCatalog& catalog, const TrendTable& trends, ReportFacts& facts);

}  // namespace lumen
