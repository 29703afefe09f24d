// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog/chooser_answer.h"
#include "platform/dialog/open_file_request.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pixel_surface.h"
#include "platform/window/cursor.h"
#include "platform/window/message.h"
#include "platform/window/message_box_style.h"
#include "platform/window/window_style.h"

namespace lumen {

class WindowSystem;

enum class MouseButton : uint8_t { Left, Right };
enum class ButtonAction : uint8_t { Down, Up };
enum class KeyAction : uint8_t { Down, Up };

// What a window system needs from the machine it runs on: a screen, a clock,
// input and a place to show the framebuffer. The headless driver reads input
// from a script on a virtual clock; the SDL driver uses a real display.
class Driver {
public:
    virtual ~Driver() = default;

    virtual Size screenSize() const = 0;
    // The client size a top-level window gets when it is shown maximised.
    virtual Size maximizedClientSize() = 0;
    virtual uint64_t nowMs() const = 0;

    // Called only when no message is waiting. Feeds input into `system`
    // (its input* operations) or lets time pass, and returns no later than
    // `deadlineMs` (the next timer) when one is given. Returning without
    // input is allowed: the caller asks again.
    virtual void waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) = 0;

    // The framebuffer changed; `frame` is the whole screen.
    virtual void present(const PixelSurface& frame) = 0;

    virtual void topLevelShown(WindowHandle /*window*/, ShowCommand /*command*/) {}
    virtual void titleChanged(WindowHandle /*window*/, std::string_view /*title*/) {}
    // `image` is null for a system cursor, named by its IDC_* id.
    virtual void cursorChanged(uint32_t /*systemId*/, const CursorImage* /*image*/) {}
    // A modal message box is about to run its own message loop.
    virtual void messageBoxOpened(const MessageBoxInfo& /*box*/) {}

    // The display went away (a log-out, the X server ended): nothing can be
    // shown or read from it any more.
    virtual bool displayLost() const { return false; }

    // Whether a message box may open now: a scripted run opens one only when
    // its next action answers it; a person can always answer.
    virtual bool mayOpenMessageBox() const { return true; }
    // Where a script's `dump FILE` goes; drivers without scripts ignore it.
    using DumpHandler = std::function<bool(const std::string& path)>;
    virtual void setDumpHandler(DumpHandler /*handler*/) {}
    // A file dropped on the main window (one call per file); a script's
    // `drop FILE` does the same.
    using DropHandler = std::function<void(const std::string& utf8Path)>;
    virtual void setDropHandler(DropHandler /*handler*/) {}
    // The desktop's dialog for choosing a file to open: the chosen path in
    // UTF-8, nothing when the user cancelled or no dialog could be shown.
    virtual ChooserAnswer chooseFileToOpen(const OpenFileRequest& /*request*/) { return {}; }
};

}  // namespace lumen
