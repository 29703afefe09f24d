// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "view/strip_view.h"

namespace lumen {

// What the main window's keys and the shell's exit path ask of the panes.
class PaneCommands {
public:
    virtual ~PaneCommands() = default;
    virtual void refreshBrowser(bool full) = 0;
    virtual void removeSelectedEvent() = 0;
    // The catalog's extremes refresh; true when it ran.
    virtual bool refreshExtremes() = 0;
    // Paints the strip, relabelling the selected beat as `mode` says; 1 when a
    // beat was relabelled.
    virtual int32_t repaintStrip(RelabelMode mode, PaintOp op, int32_t column) = 0;
    virtual void runLabelWriteBack() = 0;
    // Recounts the beat classes and repaints the title pane at once.
    virtual void recountBeatsAndTitle() = 0;
    // Asks, then prints the study report of the whole recording.
    virtual void printStudyReport() = 0;
};

}  // namespace lumen
