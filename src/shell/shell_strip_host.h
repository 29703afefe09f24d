// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "platform/window/window_system.h"
#include "shell/viewer_model.h"
#include "view/strip_host.h"

namespace lumen {

// The strip painter's view of the shell: the ECG pane's share of the
// layout, the strip's drawing objects, the main window's strip image and
// the ECG pane's surface outside its paint message.
class ShellStripHost final : public StripHost {
public:
    ShellStripHost(WindowSystem& system, ViewerModel& model);

    StripGeometry stripGeometry() const override;
    const StripDrawingObjects& drawingObjects() const override { return model_.stripObjects; }
    Image* stripImage() override { return model_.stripImage.get(); }
    Canvas* beginPanePaint() override;
    void endPanePaint(Canvas& pane) override;
    bool selectedHasEvents() const override;
    bool stripFrozen() const override { return model_.shell.shuttingDown || model_.shell.decodeFailed; }

private:
    WindowSystem& system_;
    ViewerModel& model_;
    std::unique_ptr<Canvas> pane_;
};

}  // namespace lumen
