// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window/driver.h"

namespace lumen {

// A real window through SDL2: created maximised when the program shows its
// main window maximised (so the first size report is the maximised one),
// the framebuffer copied to it after every change, and SDL's input turned
// into the window system's input: keys into virtual-key codes, window state
// changes into size kinds, the close box into a close request.
class SdlDriver final : public Driver {
public:
    SdlDriver();
    ~SdlDriver() override;
    SdlDriver(const SdlDriver&) = delete;
    SdlDriver& operator=(const SdlDriver&) = delete;

    // False when SDL found no display; nothing else works then.
    bool isReady() const;

    Size screenSize() const override;
    Size maximizedClientSize() override;
    uint64_t nowMs() const override;
    bool displayLost() const override;
    void waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) override;
    void present(const PixelSurface& frame) override;
    void topLevelShown(WindowHandle window, ShowCommand command) override;
    void titleChanged(WindowHandle window, std::string_view title) override;
    void cursorChanged(uint32_t systemId, const CursorImage* image) override;
    void setDropHandler(DropHandler handler) override;
    // The desktop portal's dialog, else zenity or kdialog.
    ChooserAnswer chooseFileToOpen(const OpenFileRequest& request) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumen
