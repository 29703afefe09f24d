// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "events/event_catalog.h"
#include "pane/pane_context.h"
#include "pane/pane_window.h"
#include "pane/shell_services.h"
#include "view/strip_painter.h"

namespace lumen {

// The ECG pane ("c2_ablak"): the strip across its width and a column of
// seven buttons on its right edge (N, V, A, amplitude, speed, previous and
// next beat). Paints, commands and mouse events become calls of the strip
// painter; the left button measures with the two lines.
class EcgPane final : public PaneWindow {
public:
    EcgPane(WindowSystem& system, const PaneContext& context, ShellServices& services, StripPainter& painter,
            const EventCatalog& catalog);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;

    // Loads the ECG around sample `samplePosition` and notes the window's
    // first block as the shell's.
    void loadStripAround(int32_t samplePosition);
    // Relabels the selected beat (mode None: only repaints); 1 when a beat
    // was relabelled.
    int32_t repaintStrip(RelabelMode mode, PaintOp op, int32_t column);
    // Carries the window's labels into the beat list and tells the shell
    // the change kind.
    void runLabelWriteBack();

private:
    void placeButtons(WindowHandle window);
    void paint(WindowHandle window);
    void command(uint32_t id);
    void relabel(RelabelMode mode);
    void mouse(uint32_t message, WParam wParam, LParam lParam);

    WindowSystem& system_;
    const PaneContext& context_;
    ShellServices& services_;
    StripPainter& painter_;
    const EventCatalog& catalog_;
};

}  // namespace lumen
