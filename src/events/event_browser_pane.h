// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "events/event_catalog.h"
#include "events/extremes_source.h"
#include "pane/pane_context.h"
#include "pane/pane_links.h"
#include "pane/pane_window.h"
#include "pane/shell_services.h"

namespace lumen {

class Recording;
class TrendTable;

// The status line as last drawn: the event's description on the left (in
// red), its number in the row and its time on the right.
struct StatusTexts {
    std::string left;
    std::string right;
};

// The event browser ("c1_ablak"): the nineteen rows of the catalog, the
// status line and the bar of six buttons (previous, next, automatic
// stepping, removal, print, exit). Every change of the selection moves the
// time cursor and shows the ECG around it.
class EventBrowserPane final : public PaneWindow {
public:
    EventBrowserPane(WindowSystem& system, const PaneContext& context, ShellServices& services, PaneLinks& links,
                     EventCatalog& catalog, Recording& recording, TrendTable& trends, ExtremesSource& extremes);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;

    // Repaints the pane outside its paint message (all rows, or only the
    // changed ones) and shows the ECG around the time cursor.
    void refreshBrowser(bool full);
    // Declares the current event an artefact; rows 14 to 18 and empty rows
    // refuse it.
    void removeSelectedEvent();
    // The catalog's extremes search after beats changed; true when it ran.
    bool refreshExtremes();
    void drawStatusLine(Canvas& canvas);
    // The description of the selected event, also printed on the report.
    std::string eventCaption();
    // The heart-rate readout in the ECG pane's corner band top .. bottom.
    void drawHeartRate(Canvas& canvas, int32_t top, int32_t bottom);

    // The readout's number: the heart rate at the cursor, "---" for none.
    std::string heartRateText() const;
    const StatusTexts& statusTexts() const { return status_; }

private:
    void placeButtons(WindowHandle window);
    void paint(WindowHandle window);
    void command(uint32_t id);
    void clickRows(Point point);
    void stepEvent(bool forward);
    StatusTexts composeStatus();

    WindowSystem& system_;
    const PaneContext& context_;
    ShellServices& services_;
    PaneLinks& links_;
    EventCatalog& catalog_;
    Recording& recording_;
    TrendTable& trends_;
    ExtremesSource& extremes_;
    StatusTexts status_;
};

}  // namespace lumen
