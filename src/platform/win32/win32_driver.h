// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window/driver.h"

namespace lumen {

// A real top-level window of the Windows desktop (USER32/GDI32): created
// maximised when the program first shows a top-level window, the
// framebuffer copied into it with SetDIBitsToDevice after every change,
// and the desktop's own messages turned into the window system's input:
// keys (already virtual-key codes), mouse buttons with the mouse captured
// while one is held, restore/minimise/maximise into size kinds, the close
// box into a close request, and 0x220 from another program into the close
// request the main window expects. Its icon is resource 1 of the program.
class Win32Driver final : public Driver {
public:
    // The close request another program sends to the viewer's window.
    static constexpr uint32_t kCloseRequestMessage = 0x220;

    Win32Driver();
    ~Win32Driver() override;
    Win32Driver(const Win32Driver&) = delete;
    Win32Driver& operator=(const Win32Driver&) = delete;

    // False when the window class could not be registered.
    bool isReady() const;

    Size screenSize() const override;
    Size maximizedClientSize() override;
    uint64_t nowMs() const override;
    void waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) override;
    void present(const PixelSurface& frame) override;
    void topLevelShown(WindowHandle window, ShowCommand command) override;
    void titleChanged(WindowHandle window, std::string_view title) override;
    void cursorChanged(uint32_t systemId, const CursorImage* image) override;
    void setDropHandler(DropHandler handler) override;
    // The common "Open" dialog (GetOpenFileNameW).
    ChooserAnswer chooseFileToOpen(const OpenFileRequest& request) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumen
