// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/auto_step_button.h"

namespace lumen {

AutoStepButton::AutoStepButton(WindowSystem& system, ViewerModel& model, ButtonFaces& faces)
    : system_(system), model_(model), faces_(faces) {}

AutoStepButton::~AutoStepButton() {
    if (record_) system_.removeProp(button_, "FNStruc");
}

void AutoStepButton::attach(WindowHandle button) {
    button_ = button;
    record_ = std::make_unique<SubclassRecord>();
    record_->newProcedure = &AutoStepButton::procedure;
    record_->owner = this;
    record_->previousProcedure = system_.setWindowProc(button, &AutoStepButton::procedure);
    system_.setProp(button, "FNStruc", record_.get());
}

LResult AutoStepButton::procedure(WindowSystem& system, WindowHandle button, uint32_t message, WParam wParam,
                                  LParam lParam) {
    const auto* record = static_cast<const SubclassRecord*>(system.getProp(button, "FNStruc"));
    if (record != nullptr && record->owner != nullptr) return record->owner->handle(button, message, wParam, lParam);
    return system.defWindowProc(button, message, wParam, lParam);
}

void AutoStepButton::drawFace(WindowHandle button, int32_t slot) {
    auto canvas = system_.getDC(button);
    if (canvas) faces_.drawSlot(*canvas, button, slot);
    system_.releaseDC(button, std::move(canvas));
}

void AutoStepButton::start(WindowHandle button) {
    drawFace(button, 3);
    if (!cursor_) cursor_ = system_.createCursor(faces_.artwork().steppingCursor());
    system_.setClassCursor(button, cursor_);
    system_.setCursor(cursor_);
    system_.setCapture(button);
    system_.setTimer(button, kTimerId, kPeriodMs);
    running_ = true;
}

// Everything a stop does except moving the focus and telling the browser.
void AutoStepButton::stop(WindowHandle button) {
    drawFace(button, 2);
    system_.releaseCapture();
    system_.killTimer(button, kTimerId);
    running_ = false;
    const CursorHandle arrow = system_.loadCursor(IDC_ARROW);
    system_.setClassCursor(button, arrow);
    system_.setCursor(arrow);
    if (cursor_) system_.destroyCursor(cursor_);
    cursor_ = {};
}

void AutoStepButton::click(WindowHandle button) {
    if (!running_) {
        start(button);
        return;
    }
    stop(button);
    system_.setFocus(parent_);
    system_.sendMessage(parent_, WM_COMMAND, controlNumber(ControlId::AutoStep), 0);
}

void AutoStepButton::step(WindowHandle button) {
    const int32_t before = model_.catalog ? model_.catalog->cursorTime() : 0;
    if (model_.painter) model_.painter->caliper().firstColumn = -1;
    system_.sendMessage(parent_, WM_COMMAND, controlNumber(ControlId::NextEvent), 0);
    const int32_t after = model_.catalog ? model_.catalog->cursorTime() : 0;
    if (running_ && after == before) {
        // The end of the row: the cursor no longer moves.
        stop(button);
        system_.sendMessage(parent_, WM_COMMAND, controlNumber(ControlId::NextEvent), 0);
    }
}

LResult AutoStepButton::handle(WindowHandle button, uint32_t message, WParam wParam, LParam lParam) {
    parent_ = system_.parent(button);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: click(button); return 0;
    case WM_MOUSEMOVE: system_.setCursor(running_ && cursor_ ? cursor_ : system_.loadCursor(IDC_ARROW)); return 0;
    case WM_PAINT: {
        PaintStruct paint;
        Canvas* canvas = system_.beginPaint(button, paint);
        if (canvas != nullptr) faces_.drawSlot(*canvas, button, running_ ? 3 : 2);
        system_.endPaint(button, paint);
        return 0;
    }
    case WM_TIMER: step(button); return 0;
    default: break;
    }
    const auto* record = static_cast<const SubclassRecord*>(system_.getProp(button, "FNStruc"));
    if (record == nullptr || record->previousProcedure == nullptr) {
        return system_.defWindowProc(button, message, wParam, lParam);
    }
    return system_.callWindowProc(record->previousProcedure, button, message, wParam, lParam);
}

}  // namespace lumen
