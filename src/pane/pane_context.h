// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "lang/language_texts.h"
#include "pane/control_id.h"
#include "pane/drawing_set.h"
#include "pane/shell_layout.h"
#include "platform/window/message.h"

namespace lumen {

// What a pane of the main window reads from the shell: the geometry of the
// last size change, the drawing objects, the language, the patient line and
// the windows it places or hands the focus to.
class PaneContext {
public:
    virtual ~PaneContext() = default;

    virtual const ShellLayout& layout() const = 0;
    virtual const DrawingSet& drawing() const = 0;
    virtual const LanguageTexts& texts() const = 0;
    // The patient line as read from the recording, decoded to UTF-8.
    virtual const std::string& patientLine() const = 0;
    virtual WindowHandle mainWindow() const = 0;
    // The owner-drawn button with that control id (its pane places it).
    virtual WindowHandle button(ControlId control) const = 0;
    // What the recording's source said beyond the recording itself (an
    // imported file): its start date as YYYY-MM-DD, and the text of the
    // manual event at a position in ticks; "" where it said nothing.
    virtual std::string recordingDate() const { return {}; }
    virtual std::string manualEventText(int32_t /*positionTicks*/) const { return {}; }
};

}  // namespace lumen
