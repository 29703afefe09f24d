// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

#include "forms/forms_view.h"
#include "pane/pane_context.h"
#include "pane/pane_window.h"

namespace lumen {

// The forms view's pane, in the event browser's place while it is open:
// a heading with the keys, then one tile per form with its beats drawn
// faint over each other and their mean bold, both channels, its class,
// count, share, QRS width and how early its beats come. A click selects a
// tile and tells the shell.
class FormsPane final : public PaneWindow {
public:
    static constexpr std::string_view kHeading =
        "Forms - N S V A: class of the form   Enter / PageUp: its next / previous beat   M: the selected beat "
        "joins this form   F: events";

    FormsPane(WindowSystem& system, const PaneContext& context, const FormsView& view,
              std::function<void(size_t)> tileClicked);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;
    // The number of columns of the grid last painted or clicked.
    int32_t columns() const;

private:
    void paint(WindowHandle window);
    void paintTile(Canvas& canvas, const FormTile& tile, Rect place, bool selected);

    WindowSystem& system_;
    const PaneContext& context_;
    const FormsView& view_;
    std::function<void(size_t)> tileClicked_;
};

}  // namespace lumen
