// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "platform/window/window_system.h"
#include "shell/button_faces.h"
#include "shell/viewer_model.h"

namespace lumen {

// The event browser's auto-step button (1000): a click starts a 100 ms timer
// that sends "next event" to the browser until the cursor stops moving; a
// second click stops it. It takes over the button's window procedure and
// keeps the previous one, and itself, in the window property "FNStruc".
class AutoStepButton {
public:
    static constexpr uint32_t kTimerId = 1000;
    static constexpr uint32_t kPeriodMs = 100;
    static constexpr uint32_t kCursorId = 3000;

    AutoStepButton(WindowSystem& system, ViewerModel& model, ButtonFaces& faces);
    // The button falls back to the default handling.
    ~AutoStepButton();

    void attach(WindowHandle button);  // attachAutoStep
    bool running() const { return running_; }

private:
    // The subclass record, in the order the property holds it.
    struct SubclassRecord {
        WindowProc newProcedure = nullptr;
        WindowProc previousProcedure = nullptr;
        AutoStepButton* owner = nullptr;
    };

    static LResult procedure(WindowSystem& system, WindowHandle button, uint32_t message, WParam wParam, LParam lParam);
    LResult handle(WindowHandle button, uint32_t message, WParam wParam, LParam lParam);
    void click(WindowHandle button);
    void start(WindowHandle button);
    void stop(WindowHandle button);
    void step(WindowHandle button);
    void drawFace(WindowHandle button, int32_t slot);

    WindowSystem& system_;
    ViewerModel& model_;
    ButtonFaces& faces_;
    std::unique_ptr<SubclassRecord> record_;
    bool running_ = false;
    CursorHandle cursor_;
    WindowHandle parent_;
    WindowHandle button_;
};

}  // namespace lumen
