// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_driver.h"
#include "platform/headless/script_reader.h"
#include "platform/window/window_system.h"

namespace lumen::testing {

// Runs a script against the test application on a headless screen.
inline std::vector<ScriptAction> actionsOf(const std::string& text) {
    Script script = ScriptReader::parse(text);
    return std::move(script.actions);
}

// A driver whose input is a list of steps run one per wait; the clock jumps
// to each due timer. For what a script cannot express.
class StepDriver final : public Driver {
public:
    using Step = std::function<void(WindowSystem&)>;
    explicit StepDriver(Size screen) : screen_(screen) {}
    void add(Step step) { steps_.push_back(std::move(step)); }

    Size screenSize() const override { return screen_; }
    Size maximizedClientSize() override { return screen_; }
    uint64_t nowMs() const override { return nowMs_; }
    void waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) override {
        if (next_ < steps_.size()) {
            steps_[next_++](system);
        } else if (deadlineMs) {
            nowMs_ = std::max(nowMs_, *deadlineMs);
        } else {
            system.postQuitMessage(99);
        }
    }
    void present(const PixelSurface& /*frame*/) override { ++presents; }
    void messageBoxOpened(const MessageBoxInfo& box) override { boxesOpened.push_back(box); }

    int presents = 0;
    std::vector<MessageBoxInfo> boxesOpened;

private:
    Size screen_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    uint64_t nowMs_ = 1000;
};

// Handles every message that is waiting, without waiting for input.
inline void pump(WindowSystem& system) {
    Message message;
    while (system.peekMessage(message, RemoveMessage::Yes) && message.message != WM_QUIT) {
        system.translateMessage(message);
        system.dispatchMessage(message);
    }
}

inline uint32_t pixelAt(const WindowSystem& system, int32_t x, int32_t y) {
    const PixelSurface frame = system.frame();
    return frame.pixels[static_cast<size_t>(y) * static_cast<size_t>(frame.stridePixels) + static_cast<size_t>(x)];
}

}  // namespace lumen::testing
