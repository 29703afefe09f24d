// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "pane/pane_window.h"
#include "platform/window/window_system.h"
#include "shell/button_faces.h"
#include "shell/form_review.h"
#include "shell/pane_commands.h"
#include "shell/viewer_model.h"

namespace lumen {

// The main window ("alap_ablak"): lays the panes out on every size change,
// turns keys into commands of the event browser and the ECG view, and ends
// the program when it is restored, minimised, destroyed or asked to close.
class MainWindow final : public PaneWindow {
public:
    static constexpr uint32_t kCloseRequest = 0x220;
    static constexpr std::string_view kCreditText = "Lumen \xE2\x80\x94 written by the Lumen developers";

    // Ends the program through its exit path; does not return.
    using Terminate = std::function<void(std::string_view message)>;

    MainWindow(WindowSystem& system, ViewerModel& model, ButtonFaces& faces, PaneCommands& panes, FormReview& forms,
               Terminate terminate);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;
    void layoutPanes(Size client);
    bool restoreTitle();

private:
    void keyDown(uint32_t virtualKey);
    void relabel(RelabelMode mode);
    void destroyed();
    bool formsMessage(uint32_t message, WParam wParam, LParam lParam);

    WindowSystem& system_;
    ViewerModel& model_;
    ButtonFaces& faces_;
    PaneCommands& panes_;
    FormReview& forms_;
    Terminate terminate_;
};

}  // namespace lumen
