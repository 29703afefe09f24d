// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "pane/pane_context.h"
#include "pane/pane_window.h"
#include "pane/shell_services.h"

namespace lumen {

class BeatList;

// The title pane ("c3_ablak"): the patient line on the left and the beat
// statistics on the right, repainted whenever beats were relabelled.
class TitlePane final : public PaneWindow {
public:
    TitlePane(WindowSystem& system, const PaneContext& context, ShellServices& services, const BeatList& beats);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;

    // The two texts as last drawn.
    const std::string& leftText() const { return left_; }
    const std::string& rightText() const { return right_; }

private:
    void paint(WindowHandle window);

    WindowSystem& system_;
    const PaneContext& context_;
    ShellServices& services_;
    const BeatList& beats_;
    std::string left_;
    std::string right_;
};

}  // namespace lumen
