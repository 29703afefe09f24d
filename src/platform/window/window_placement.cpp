// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

bool isTopLevel(const WindowRecord& record) { return (record.style & WS_CHILD) == 0; }

}  // namespace

bool WindowSystem::showWindow(WindowHandle window, ShowCommand command) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    const bool wasVisible = record->visible;
    if (command == ShowCommand::Hide) {
        if (wasVisible) {
            record->visible = false;
            const Rect area = impl_->screenRect(*record);
            impl_->invalidateBeneath(*record, area, *this);
            if (impl_->focus == window) {
                setFocus(record->parent);
            }
        }
        return wasVisible;
    }
    if (command == ShowCommand::Minimized) {
        sendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
        return wasVisible;
    }
    WParam sizeKind = SIZE_RESTORED;
    if (command == ShowCommand::Maximized && isTopLevel(*record)) {
        const Size client = impl_->driver.maximizedClientSize();
        record = impl_->find(window);
        if (record == nullptr) {
            return false;
        }
        record->place = Rect{0, 0, client.width, client.height};
        sizeKind = SIZE_MAXIMIZED;
        record->sizeSent = false;
    }
    record->visible = true;
    if (isTopLevel(*record)) {
        impl_->driver.topLevelShown(window, command);
    }
    if (!wasVisible) {
        sendMessage(window, WM_SHOWWINDOW, 1, 0);
    }
    record = impl_->find(window);
    if (record != nullptr && !record->sizeSent) {
        record->sizeSent = true;
        const Rect client = clientRect(window);
        sendMessage(window, WM_SIZE, sizeKind, makeLParam(client.width(), client.height()));
    }
    record = impl_->find(window);
    if (record == nullptr) {
        return wasVisible;
    }
    invalidateRect(window, std::nullopt, Erase::Yes);
    if (isTopLevel(*record) && !focus()) {
        setFocus(window);
    }
    return wasVisible;
}

bool WindowSystem::moveWindow(WindowHandle window, const Rect& place, Repaint repaint) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    const Rect oldArea = impl_->screenRect(*record);
    record->place =
        Rect{place.left, place.top, place.left + std::max(place.width(), 0), place.top + std::max(place.height(), 0)};
    record->sizeSent = true;
    if (repaint == Repaint::Yes && record->visible) {
        impl_->invalidateBeneath(*record, oldArea, *this);
        invalidateRect(window, std::nullopt, Erase::Yes);
    }
    const Rect client = clientRect(window);
    sendMessage(window, WM_MOVE, 0, makeLParam(place.left, place.top));
    sendMessage(window, WM_SIZE, SIZE_RESTORED, makeLParam(client.width(), client.height()));
    return true;
}

}  // namespace lumen
