// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "events/event_catalog.h"
#include "forms/forms_view.h"
#include "lang/language_texts.h"
#include "pane/drawing_set.h"
#include "pane/shell_layout.h"
#include "platform/draw/image.h"
#include "shell/shell_state.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "view/strip_drawing_objects.h"
#include "view/strip_painter.h"
#include "view/strip_window.h"

namespace lumen {

// How far the start-up got: the exit path saves only what was loaded.
enum class StartupStage : uint8_t { Storage, Recording, Beats, Configured, Windows };

// The viewer's long-lived objects, one of each for the whole run. Each is
// created by the start-up in its order and released only by the exit path.
struct ViewerModel {
    ShellState shell;
    ShellLayout layout;
    DrawingSet drawing;
    LanguageTexts texts;
    std::unique_ptr<StripWindow> strip;
    std::unique_ptr<Recording> recording;
    TrendTable trends;
    std::unique_ptr<EventCatalog> catalog;
    // The ECG view: its settings, measuring lines and painting; made right
    // after the memory check so that doef.mem can set its speed.
    std::unique_ptr<StripPainter> painter;
    StripColors stripColors;
    StripDrawingObjects stripObjects;  // remade for each screen class
    // The off-screen image of the ECG strip, (stripWidth + 1) x ECG pane
    // height; remade by every layout, null before the first.
    std::unique_ptr<Image> stripImage;
    // The forms view: closed until the reviewer opens it.
    FormsView forms;
    StartupStage stage = StartupStage::Storage;
};

}  // namespace lumen
