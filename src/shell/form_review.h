// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "forms/forms_pane.h"
#include "forms/forms_view.h"
#include "pane/pane_links.h"
#include "pane/shell_services.h"
#include "platform/window/window_system.h"
#include "shell/pane_commands.h"
#include "shell/viewer_model.h"

namespace lumen {

// Review by form in the viewer: the forms view in the event browser's
// place, a whole form given one class, a form's beats stepped through in the
// ECG strip, one beat moved to another form, and the episodes and tables
// derived again from the corrected beats when the view closes (or on the
// key R), so that the rows follow the labels without a restart.
class FormReview {
public:
    FormReview(WindowSystem& system, ViewerModel& model, const PaneContext& context, PaneCommands& panes,
               ShellServices& services, PaneLinks& links);

    // The pane, made when the windows are.
    FormsPane& pane() { return *pane_; }
    bool isOpen() const { return model_.forms.isOpen(); }
    void toggle();
    // A key of the main window while the view is open; false when it is
    // not one of the view's.
    bool keyDown(uint32_t virtualKey);
    void selectForm(uint8_t id);
    void classifyForm(uint8_t id, BeatClass beatClass);
    // The class buttons while the view is open; false when it is closed.
    bool classifySelectedForm(BeatClass beatClass);
    // The strip's selected beat joins form `id`, with that form's class.
    void moveSelectedBeat(uint8_t id);
    // Episodes, heart-rate table and rows again from the beats.
    void rederive();

private:
    void open();
    void close();
    void tileClicked(size_t tile);
    void stepBeat(int32_t direction);
    void afterRelabel(ChangeKind kind);
    void repaintPane();
    void reloadStripAt(int32_t sample);
    int32_t stripMiddle() const;

    WindowSystem& system_;
    ViewerModel& model_;
    PaneCommands& panes_;
    ShellServices& services_;
    PaneLinks& links_;
    std::unique_ptr<FormsPane> pane_;
};

}  // namespace lumen
