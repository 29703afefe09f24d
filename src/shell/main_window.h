#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/draw/image.h"
#include "platform/window/window_system.h"
#include "shell/button_faces.h"
#include "shell/pane_commands.h"
#include "shell/viewer_model.h"

namespace lumen {

// The main window ("alap_ablak"): lays the panes out on every size change,
// turns keys into commands of the event browser and the ECG view, and ends
// the program when it is restored, minimised, destroyed or asked to close.
class MainWindow {
public:
    static constexpr uint32_t kCloseRequest = 0x220;
    static constexpr std::string_view kCreditText = "Lumen \xE2\x80\x94 written by the Lumen developers";

    using Terminate = void (*)(std::string_view message);

    MainWindow(WindowSystem& system, ViewerModel& model, ButtonFaces& faces, PaneCommands& panes, Terminate terminate);
    ~MainWindow();

    static LResult procedure(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    void layoutPanes(Size client);
    Image* stripImage() { return stripImage_.get(); }
    bool restoreTitle();

private:
    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    void keyDown(uint32_t virtualKey);
    void relabel(RelabelMode mode);
    void destroyed();

    static MainWindow* instance_;

    WindowSystem& system_;
    ViewerModel& model_;
    ButtonFaces& faces_;
    PaneCommands& panes_;
    Terminate terminate_;
    std::unique_ptr<Image> stripImage_;
};

}  // namespace lumen
