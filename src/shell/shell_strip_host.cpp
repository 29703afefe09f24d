// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/shell_strip_host.h"

namespace lumen {

ShellStripHost::ShellStripHost(WindowSystem& system, ViewerModel& model) : system_(system), model_(model) {}

StripGeometry ShellStripHost::stripGeometry() const {
    const ShellLayout& layout = model_.layout;
    StripGeometry geometry;
    geometry.stripWidth = layout.stripWidth;
    geometry.paneWidth = layout.ecgPlace.width();
    geometry.paneHeight = layout.ecgPlace.height();
    geometry.ecgButtonHalf = layout.ecgButtonHalf;
    geometry.ecgButtonHeight = layout.ecgButtonHeight;
    geometry.screenClass = layout.screenClass;
    return geometry;
}

Canvas* ShellStripHost::beginPanePaint() {
    const WindowHandle pane = model_.shell.ecgPane;
    if (pane_ || !system_.isWindow(pane)) return nullptr;
    pane_ = system_.getDC(pane);
    return pane_.get();
}

void ShellStripHost::endPanePaint(Canvas& pane) {
    if (pane_.get() != &pane) return;
    system_.releaseDC(model_.shell.ecgPane, std::move(pane_));
}

bool ShellStripHost::selectedHasEvents() const { return model_.catalog && model_.catalog->selectedHasEvents(); }

}  // namespace lumen
