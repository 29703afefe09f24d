// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <limits>

#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr uint32_t minimumTimerPeriodMs = 10;

bool takeInputMessage(WindowSystem& system, WindowSystem::Impl& impl, Message& message);

}  // namespace

// Defined in window_input.cpp.
bool convertInput(WindowSystem& system, WindowSystem::Impl& impl, const InputEvent& event, Message& message);

namespace {

bool takeInputMessage(WindowSystem& system, WindowSystem::Impl& impl, Message& message) {
    while (!impl.input.empty()) {
        const InputEvent event = impl.input.front();
        impl.input.pop_front();
        if (convertInput(system, impl, event, message)) {
            return true;
        }
    }
    return false;
}

WindowHandle firstToPaint(const WindowSystem::Impl& impl, WindowHandle window) {
    const WindowRecord* record = impl.find(window);
    if (record == nullptr || !record->visible) {
        return WindowHandle{};
    }
    if (!record->update.isEmpty()) {
        return window;
    }
    for (WindowHandle child : record->children) {
        const WindowHandle found = firstToPaint(impl, child);
        if (found) {
            return found;
        }
    }
    return WindowHandle{};
}

bool takePaintMessage(const WindowSystem::Impl& impl, Message& message) {
    for (WindowHandle top : impl.topLevels) {
        const WindowHandle found = firstToPaint(impl, top);
        if (found) {
            message = Message{found, WM_PAINT, 0, 0, 0, {}};
            return true;
        }
    }
    return false;
}

bool takeTimerMessage(WindowSystem::Impl& impl, Message& message) {
    const uint64_t now = impl.driver.nowMs();
    TimerRecord* due = nullptr;
    for (TimerRecord& timer : impl.timers) {
        if (timer.dueMs <= now && (due == nullptr || timer.dueMs < due->dueMs)) {
            due = &timer;
        }
    }
    if (due == nullptr) {
        return false;
    }
    due->dueMs = now + due->periodMs;
    message = Message{due->window, WM_TIMER, due->timerId, 0, 0, {}};
    return true;
}

std::optional<uint64_t> nextTimerDue(const WindowSystem::Impl& impl) {
    std::optional<uint64_t> next;
    for (const TimerRecord& timer : impl.timers) {
        if (!next || timer.dueMs < *next) {
            next = timer.dueMs;
        }
    }
    return next;
}

}  // namespace

LResult WindowSystem::sendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr || record->procedure == nullptr) {
        return 0;
    }
    return record->procedure(*this, window, message, wParam, lParam);
}

bool WindowSystem::postMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (window && impl_->find(window) == nullptr) {
        return false;
    }
    impl_->posted.push_back(Message{window, message, wParam, lParam, impl_->driver.nowMs(), impl_->cursorPosition});
    return true;
}

void WindowSystem::postQuitMessage(int32_t exitCode) {
    impl_->quitPosted = true;
    impl_->quitCode = exitCode;
}

int32_t WindowSystem::quitCode() const { return impl_->quitCode; }

bool WindowSystem::peekMessage(Message& message, RemoveMessage remove) {
    if (!impl_->posted.empty()) {
        message = impl_->posted.front();
        if (remove == RemoveMessage::Yes) {
            impl_->posted.pop_front();
        }
        return true;
    }
    if (remove == RemoveMessage::No) {
        return false;
    }
    if (takeInputMessage(*this, *impl_, message)) {
        return true;
    }
    if (impl_->quitPosted) {
        impl_->quitPosted = false;
        message = Message{WindowHandle{}, WM_QUIT, static_cast<WParam>(impl_->quitCode), 0, 0, {}};
        return true;
    }
    return takePaintMessage(*impl_, message) || takeTimerMessage(*impl_, message);
}

bool WindowSystem::getMessage(Message& message) {
    for (;;) {
        if (peekMessage(message, RemoveMessage::Yes)) {
            message.timeMs = impl_->driver.nowMs();
            message.cursor = impl_->cursorPosition;
            return message.message != WM_QUIT;
        }
        present();
        if (impl_->externalPoll) {
            impl_->externalPoll(*this);
            if (!impl_->posted.empty()) {
                continue;
            }
        }
        impl_->driver.waitForInput(*this, nextTimerDue(*impl_));
    }
}

void WindowSystem::translateMessage(const Message& message) {
    if (message.message != WM_KEYDOWN) {
        return;
    }
    const uint32_t key = static_cast<uint32_t>(message.wParam);
    const bool shift = (keyState(VK_SHIFT) & 0x8000) != 0;
    uint32_t character = 0;
    if (key >= 'A' && key <= 'Z') {
        character = shift ? key : key - 'A' + 'a';
    } else if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN || key == VK_ESCAPE ||
               key == VK_BACK || key == VK_TAB) {
        character = key;
    }
    if (character != 0) {
        postMessage(message.window, WM_CHAR, character, message.lParam);
    }
}

LResult WindowSystem::dispatchMessage(const Message& message) {
    if (impl_->find(message.window) == nullptr) {
        return 0;
    }
    const Message outer = impl_->current;
    impl_->current = message;
    const LResult result = sendMessage(message.window, message.message, message.wParam, message.lParam);
    impl_->current = outer;
    // A procedure that ignores its paint message would otherwise get it forever.
    if (message.message == WM_PAINT) {
        validateRect(message.window);
    }
    return result;
}

int32_t WindowSystem::runMessageLoop() {
    Message message;
    while (getMessage(message)) {
        translateMessage(message);
        dispatchMessage(message);
    }
    return quitCode();
}

LResult WindowSystem::defWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    (void)lParam;
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_CLOSE: destroyWindow(window); return 0;
    case WM_PAINT: {
        PaintStruct paint;
        beginPaint(window, paint);
        endPaint(window, paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        const auto& background = impl_->classes[record->classIndex].background;
        auto* canvas = reinterpret_cast<Canvas*>(wParam);
        if (!background || canvas == nullptr) {
            return 0;
        }
        canvas->fillRect(clientRect(window), *background);
        return 1;
    }
    default: return 0;
    }
}

uint32_t WindowSystem::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
    if (window && impl_->find(window) == nullptr) {
        return 0;
    }
    if (!window && timerId == 0) {
        timerId = static_cast<uint32_t>(impl_->timers.size()) + 0x100;
    }
    const uint32_t period = std::max(periodMs, minimumTimerPeriodMs);
    const uint64_t due = impl_->driver.nowMs() + period;
    for (TimerRecord& timer : impl_->timers) {
        if (timer.window == window && timer.timerId == timerId) {
            timer.periodMs = period;
            timer.dueMs = due;
            return timerId == 0 ? 1 : timerId;
        }
    }
    impl_->timers.push_back(TimerRecord{window, timerId, period, due});
    return timerId == 0 ? 1 : timerId;
}

bool WindowSystem::killTimer(WindowHandle window, uint32_t timerId) {
    const size_t removed =
        std::erase_if(impl_->timers, [&](const TimerRecord& t) { return t.window == window && t.timerId == timerId; });
    return removed > 0;
}

void WindowSystem::setExternalPoll(std::function<void(WindowSystem&)> poll) { impl_->externalPoll = std::move(poll); }

}  // namespace lumen
