// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/script_action.h"
#include "platform/window/driver.h"

namespace lumen {

// A screen of W x H pixels in memory, input from a script, and a clock that
// moves only through `wait`. Each action runs when every message caused by
// the previous one has been handled. When the script is used up the main
// window is closed; if the program still runs after that, it gets the quit
// message.
class HeadlessDriver final : public Driver {
public:
    static constexpr int scriptErrorStatus = 2;    // a bad action while running
    static constexpr int unexpectedBoxStatus = 3;  // a box opened and the next action is no answer

    using ExitHandler = std::function<void(int status)>;

    HeadlessDriver(Size screen, std::vector<ScriptAction> actions);

    // The application writes its state dump; false reports a failure.
    void setDumpHandler(DumpHandler handler) override;
    void setDropHandler(DropHandler handler) override;
    // Takes the next action, which must be `choose FILE` or `choose cancel`.
    ChooserAnswer chooseFileToOpen(const OpenFileRequest& request) override;
    // Replaces std::exit for the two failure statuses (tests).
    void setExitHandler(ExitHandler handler);
    size_t actionsRun() const { return next_; }

    Size screenSize() const override { return screen_; }
    Size maximizedClientSize() override { return screen_; }
    uint64_t nowMs() const override { return nowMs_; }
    void waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) override;
    void present(const PixelSurface& /*frame*/) override {}
    void messageBoxOpened(const MessageBoxInfo& box) override;
    bool mayOpenMessageBox() const override;

private:
    void run(WindowSystem& system, const ScriptAction& action);
    void pointerAction(WindowSystem& system, const ScriptAction& action);
    void clickAt(WindowSystem& system, Point screen, MouseButton button);
    // A drag move goes out even to the same point, with the left button held.
    void moveTo(WindowSystem& system, Point screen, bool drag);
    void keyAction(WindowSystem& system, const ScriptAction& action);
    void fail(WindowSystem& system, int status, const std::string& message);
    // A failure outside the message loop: the next wait for input ends it.
    void failLater(int status, const std::string& message);
    Point toScreen(WindowSystem& system, Point client) const;

    Size screen_;
    std::vector<ScriptAction> actions_;
    size_t next_ = 0;
    uint64_t nowMs_ = 0;
    uint64_t clockTargetMs_ = 0;
    Point pointer_{-1, -1};
    int closesSent_ = 0;
    bool failed_ = false;
    DumpHandler dump_;
    DropHandler drop_;
    ExitHandler exit_;
};

}  // namespace lumen
