// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr uint64_t doubleClickMs = 500;

WindowHandle deepestAt(const WindowSystem::Impl& impl, const WindowRecord& record, Point screen) {
    // Later children lie above earlier ones.
    for (auto child = record.children.rbegin(); child != record.children.rend(); ++child) {
        const WindowRecord* inner = impl.find(*child);
        if (inner != nullptr && inner->visible && impl.screenRect(*inner).contains(screen)) {
            return deepestAt(impl, *inner, screen);
        }
    }
    return record.handle;
}

WParam mouseKeyFlags(const WindowSystem::Impl& impl) {
    WParam flags = 0;
    flags |= impl.keysDown[VK_LBUTTON] ? MK_LBUTTON : 0;
    flags |= impl.keysDown[VK_RBUTTON] ? MK_RBUTTON : 0;
    flags |= impl.keysDown[VK_SHIFT] ? MK_SHIFT : 0;
    flags |= impl.keysDown[VK_CONTROL] ? MK_CONTROL : 0;
    return flags;
}

// The window that gets a mouse message: the capture, else the one under
// the pointer, unless that one (or an ancestor) is disabled by a modal box.
WindowHandle mouseTarget(WindowSystem& system, WindowSystem::Impl& impl, Point screen) {
    if (impl.find(impl.capture) != nullptr) {
        return impl.capture;
    }
    const WindowHandle under = system.windowFromPoint(screen);
    const WindowRecord* record = impl.find(under);
    if (record == nullptr || !impl.enabledWithAncestors(*record)) {
        return WindowHandle{};
    }
    return under;
}

uint32_t buttonMessage(MouseButton button, ButtonAction action, bool doubleClick) {
    if (button == MouseButton::Left) {
        return action == ButtonAction::Up ? WM_LBUTTONUP : (doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
    }
    return action == ButtonAction::Up ? WM_RBUTTONUP : (doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN);
}

bool isDoubleClick(WindowSystem& system, WindowSystem::Impl& impl, WindowHandle target, const InputEvent& event) {
    const WindowRecord* record = impl.find(target);
    const bool classWants = record != nullptr && (impl.classes[record->classIndex].style & CS_DBLCLKS) != 0;
    const uint64_t now = impl.driver.nowMs();
    const bool isDouble = classWants && !impl.lastDownWasDouble && impl.lastDownWindow == target &&
                          impl.lastDownButton == event.button && now - impl.lastDownMs <= doubleClickMs &&
                          std::abs(event.screen.x - impl.lastDownPoint.x) <= system.systemMetrics(SM_CXDOUBLECLK) &&
                          std::abs(event.screen.y - impl.lastDownPoint.y) <= system.systemMetrics(SM_CYDOUBLECLK);
    impl.lastDownWindow = target;
    impl.lastDownButton = event.button;
    impl.lastDownMs = now;
    impl.lastDownPoint = event.screen;
    impl.lastDownWasDouble = isDouble;
    return isDouble;
}

bool convertMouse(WindowSystem& system, WindowSystem::Impl& impl, const InputEvent& event, Message& message) {
    impl.cursorPosition = event.screen;
    uint32_t number = WM_MOUSEMOVE;
    const WindowHandle target = mouseTarget(system, impl, event.screen);
    if (event.kind == InputEvent::Kind::Button) {
        const uint32_t key = event.button == MouseButton::Left ? VK_LBUTTON : VK_RBUTTON;
        impl.keysDown[key] = event.buttonAction == ButtonAction::Down;
        const bool doubleClick =
            event.buttonAction == ButtonAction::Down && target && isDoubleClick(system, impl, target, event);
        number = buttonMessage(event.button, event.buttonAction, doubleClick);
    } else if (target && !impl.capture) {
        const WindowRecord* record = impl.find(target);
        const CursorHandle classCursor = impl.classes[record->classIndex].cursor;
        if (classCursor) {
            system.setCursor(classCursor);
        }
    }
    if (!target) {
        return false;
    }
    const Point client = system.screenToClient(target, event.screen);
    const WParam held = event.kind == InputEvent::Kind::Move && event.leftHeld ? MK_LBUTTON : 0;
    message = Message{target, number, mouseKeyFlags(impl) | held, makeLParam(client.x, client.y), 0, {}};
    return true;
}

bool convertKey(WindowSystem& system, WindowSystem::Impl& impl, const InputEvent& event, Message& message) {
    const uint32_t key = event.virtualKey % virtualKeyCount;
    const bool down = event.keyAction == KeyAction::Down;
    const bool wasDown = impl.keysDown[key];
    impl.keysDown[key] = down;
    WindowHandle target = impl.focus;
    const WindowRecord* record = impl.find(target);
    if (record == nullptr) {
        target = impl.boxes.empty() ? system.mainWindow() : WindowHandle{};
        record = impl.find(target);
    }
    if (record == nullptr || !impl.enabledWithAncestors(*record)) {
        return false;
    }
    // Alt without Ctrl makes a system key, as on the desktop.
    const bool systemKey = impl.keysDown[VK_MENU] && !impl.keysDown[VK_CONTROL];
    const uint32_t number = down ? (systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN) : (systemKey ? WM_SYSKEYUP : WM_KEYUP);
    LParam flags = 1;
    if (wasDown) {
        flags |= LParam{1} << 30;
    }
    if (!down) {
        flags |= (LParam{1} << 30) | (LParam{1} << 31);
    }
    message = Message{target, number, key, flags, 0, {}};
    return true;
}

}  // namespace

bool convertInput(WindowSystem& system, WindowSystem::Impl& impl, const InputEvent& event, Message& message) {
    switch (event.kind) {
    case InputEvent::Kind::Move:
    case InputEvent::Kind::Button: return convertMouse(system, impl, event, message);
    case InputEvent::Kind::Key: return convertKey(system, impl, event, message);
    case InputEvent::Kind::Close:
        message = Message{event.window, WM_CLOSE, 0, 0, 0, {}};
        return impl.find(event.window) != nullptr;
    case InputEvent::Kind::Size: {
        WindowRecord* record = impl.find(event.window);
        if (record == nullptr) {
            return false;
        }
        const bool minimized = event.sizeKind == SIZE_MINIMIZED;
        if (!minimized) {
            record->place.right = record->place.left + event.client.width;
            record->place.bottom = record->place.top + event.client.height;
            system.invalidateRect(event.window, std::nullopt, Erase::Yes);
        }
        record->sizeSent = true;
        const Size reported = minimized ? Size{} : event.client;
        message = Message{event.window, WM_SIZE, event.sizeKind, makeLParam(reported.width, reported.height), 0, {}};
        return true;
    }
    }
    return false;
}

WindowHandle WindowSystem::windowFromPoint(Point screen) const {
    for (auto top = impl_->topLevels.rbegin(); top != impl_->topLevels.rend(); ++top) {
        const WindowRecord* record = impl_->find(*top);
        if (record != nullptr && record->visible && impl_->screenRect(*record).contains(screen)) {
            return deepestAt(*impl_, *record, screen);
        }
    }
    return WindowHandle{};
}

WindowHandle WindowSystem::setFocus(WindowHandle window) {
    const WindowHandle previous = impl_->focus;
    if (window && impl_->find(window) == nullptr) {
        return WindowHandle{};
    }
    if (window == previous) {
        return previous;
    }
    impl_->focus = window;
    if (impl_->find(previous) != nullptr) {
        sendMessage(previous, WM_KILLFOCUS, window.id, 0);
    }
    if (impl_->find(window) != nullptr && impl_->focus == window) {
        sendMessage(window, WM_SETFOCUS, previous.id, 0);
    }
    return previous;
}

WindowHandle WindowSystem::focus() const { return impl_->focus; }

WindowHandle WindowSystem::setCapture(WindowHandle window) {
    const WindowHandle previous = impl_->capture;
    if (impl_->find(window) == nullptr) {
        return previous;
    }
    impl_->capture = window;
    if (previous != window && impl_->find(previous) != nullptr) {
        sendMessage(previous, WM_CAPTURECHANGED, 0, toLParam(window));
    }
    return previous;
}

bool WindowSystem::releaseCapture() {
    const WindowHandle previous = impl_->capture;
    impl_->capture = WindowHandle{};
    if (impl_->find(previous) != nullptr) {
        sendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

WindowHandle WindowSystem::capture() const { return impl_->capture; }

int16_t WindowSystem::keyState(uint32_t virtualKey) const {
    if (virtualKey >= virtualKeyCount) {
        return 0;
    }
    return impl_->keysDown[virtualKey] ? static_cast<int16_t>(0x8000) : int16_t{0};
}

CursorHandle WindowSystem::loadCursor(uint32_t systemId) {
    for (const auto& [id, entry] : impl_->cursors) {
        if (entry.systemId == systemId && systemId != 0) {
            return CursorHandle{id};
        }
    }
    if (systemId == 0) {
        return CursorHandle{};
    }
    const uint32_t id = impl_->nextCursorId++;
    impl_->cursors.emplace(id, CursorEntry{systemId, {}});
    return CursorHandle{id};
}

CursorHandle WindowSystem::createCursor(CursorImage image) {
    const size_t expected =
        static_cast<size_t>(std::max(image.size.width, 0)) * static_cast<size_t>(std::max(image.size.height, 0));
    if (expected == 0 || image.pixels.size() != expected) {
        return CursorHandle{};
    }
    const uint32_t id = impl_->nextCursorId++;
    impl_->cursors.emplace(id, CursorEntry{0, std::move(image)});
    return CursorHandle{id};
}

bool WindowSystem::destroyCursor(CursorHandle cursor) {
    auto found = impl_->cursors.find(cursor.id);
    if (found == impl_->cursors.end() || found->second.systemId != 0) {
        return false;  // system cursors are shared and never destroyed
    }
    if (impl_->currentCursor == cursor) {
        setCursor(loadCursor(IDC_ARROW));
    }
    impl_->cursors.erase(found);
    return true;
}

CursorHandle WindowSystem::setCursor(CursorHandle cursor) {
    const CursorHandle previous = impl_->currentCursor;
    auto found = impl_->cursors.find(cursor.id);
    if (found == impl_->cursors.end() || cursor == previous) {
        return previous;
    }
    impl_->currentCursor = cursor;
    const CursorEntry& entry = found->second;
    impl_->driver.cursorChanged(entry.systemId, entry.systemId == 0 ? &entry.image : nullptr);
    return previous;
}

CursorHandle WindowSystem::currentCursor() const { return impl_->currentCursor; }

CursorHandle WindowSystem::setClassCursor(WindowHandle window, CursorHandle cursor) {
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return CursorHandle{};
    }
    return std::exchange(impl_->classes[record->classIndex].cursor, cursor);
}

Point WindowSystem::cursorPosition() const { return impl_->cursorPosition; }

void WindowSystem::inputMouseMove(Point screen, bool leftHeld) {
    InputEvent event;
    event.kind = InputEvent::Kind::Move;
    event.screen = screen;
    event.leftHeld = leftHeld;
    impl_->input.push_back(event);
}

void WindowSystem::inputMouseButton(MouseButton button, ButtonAction action, Point screen) {
    InputEvent event;
    event.kind = InputEvent::Kind::Button;
    event.screen = screen;
    event.button = button;
    event.buttonAction = action;
    impl_->input.push_back(event);
}

void WindowSystem::inputKey(uint32_t virtualKey, KeyAction action) {
    InputEvent event;
    event.kind = InputEvent::Kind::Key;
    event.virtualKey = virtualKey;
    event.keyAction = action;
    impl_->input.push_back(event);
}

void WindowSystem::inputClose(WindowHandle topLevel) {
    InputEvent event;
    event.kind = InputEvent::Kind::Close;
    event.window = topLevel;
    impl_->input.push_back(event);
}

void WindowSystem::inputSize(WindowHandle topLevel, WParam sizeKind, Size client) {
    InputEvent event;
    event.kind = InputEvent::Kind::Size;
    event.window = topLevel;
    event.sizeKind = sizeKind;
    event.client = client;
    impl_->input.push_back(event);
}

}  // namespace lumen
