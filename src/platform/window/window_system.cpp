// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/window_system.h"

#include <algorithm>

#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr uint32_t desktopPixel = 0x00808080u;

bool isChildStyle(uint32_t style) { return (style & WS_CHILD) != 0; }

}  // namespace

WindowRecord* WindowSystem::Impl::find(WindowHandle window) {
    auto found = windows.find(window.id);
    return found == windows.end() || found->second.destroying ? nullptr : &found->second;
}

const WindowRecord* WindowSystem::Impl::find(WindowHandle window) const {
    auto found = windows.find(window.id);
    return found == windows.end() || found->second.destroying ? nullptr : &found->second;
}

const WindowRecord* WindowSystem::Impl::container(const WindowRecord& record) const {
    return isChildStyle(record.style) ? find(record.parent) : nullptr;
}

Rect WindowSystem::Impl::screenRect(const WindowRecord& record) const {
    Rect rect = record.place;
    for (const WindowRecord* up = container(record); up != nullptr; up = container(*up)) {
        rect = rect.translated(up->place.left, up->place.top);
    }
    return rect;
}

Rect WindowSystem::Impl::visibleScreenRect(const WindowRecord& record) const {
    Rect rect = screenRect(record);
    for (const WindowRecord* up = container(record); up != nullptr; up = container(*up)) {
        rect = rect.intersected(screenRect(*up));
    }
    rect = rect.intersected(Rect{0, 0, screen.width, screen.height});
    return rect.isEmpty() ? Rect{} : rect;
}

bool WindowSystem::Impl::shownWithAncestors(const WindowRecord& record) const {
    for (const WindowRecord* at = &record; at != nullptr; at = container(*at)) {
        if (!at->visible) {
            return false;
        }
    }
    return true;
}

bool WindowSystem::Impl::enabledWithAncestors(const WindowRecord& record) const {
    for (const WindowRecord* at = &record; at != nullptr; at = container(*at)) {
        if (!at->enabled) {
            return false;
        }
    }
    return true;
}

WindowHandle WindowSystem::Impl::topLevelOf(WindowHandle window) const {
    const WindowRecord* record = find(window);
    while (record != nullptr && container(*record) != nullptr) {
        record = container(*record);
    }
    return record == nullptr ? WindowHandle{} : record->handle;
}

WindowSystem::WindowSystem(Driver& driver) : impl_(std::make_unique<Impl>(driver)) {
    impl_->screen = driver.screenSize();
    impl_->screen.width = std::max(impl_->screen.width, 1);
    impl_->screen.height = std::max(impl_->screen.height, 1);
    impl_->framePixels.assign(static_cast<size_t>(impl_->screen.width) * static_cast<size_t>(impl_->screen.height),
                              desktopPixel);
    impl_->currentCursor = loadCursor(IDC_ARROW);
    registerButtonClass(*this);
    registerMessageBoxClass(*this);
}

WindowSystem::~WindowSystem() = default;

Driver& WindowSystem::driver() { return impl_->driver; }

bool WindowSystem::registerClass(const WindowClass& windowClass) {
    if (windowClass.name.empty() || windowClass.procedure == nullptr) {
        return false;
    }
    for (const WindowClass& known : impl_->classes) {
        if (known.name == windowClass.name) {
            return false;
        }
    }
    impl_->classes.push_back(windowClass);
    return true;
}

WindowHandle WindowSystem::createWindow(const WindowCreation& creation) {
    auto cls = std::find_if(impl_->classes.begin(), impl_->classes.end(),
                            [&](const WindowClass& c) { return c.name == creation.className; });
    WindowRecord* parentRecord = impl_->find(creation.parent);
    if (cls == impl_->classes.end() || (isChildStyle(creation.style) && parentRecord == nullptr)) {
        return WindowHandle{};
    }
    WindowRecord record;
    record.handle = WindowHandle{impl_->nextWindowId++};
    record.classIndex = static_cast<size_t>(cls - impl_->classes.begin());
    record.procedure = cls->procedure;
    record.style = creation.style & ~WS_VISIBLE;
    record.controlId = creation.controlId;
    record.text = std::string(creation.text);
    record.place = creation.place;
    record.enabled = (creation.style & WS_DISABLED) == 0;
    if (isChildStyle(creation.style)) {
        record.parent = creation.parent;
        parentRecord->children.push_back(record.handle);
    } else {
        if (record.place.left == CW_USEDEFAULT || record.place.right == CW_USEDEFAULT) {
            record.place = Rect{0, 0, impl_->screen.width / 2, impl_->screen.height / 2};
        }
        record.parent = parentRecord != nullptr ? creation.parent : WindowHandle{};
        impl_->topLevels.push_back(record.handle);
    }
    const WindowHandle handle = record.handle;
    impl_->windows.emplace(handle.id, std::move(record));
    if (sendMessage(handle, WM_CREATE, 0, 0) == -1) {
        destroyWindow(handle);
        return WindowHandle{};
    }
    if ((creation.style & WS_VISIBLE) != 0 && isWindow(handle)) {
        showWindow(handle, ShowCommand::Normal);
    }
    return handle;
}

bool WindowSystem::destroyWindow(WindowHandle window) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    if (record->visible) {
        record->visible = false;
        impl_->invalidateBeneath(*record, impl_->screenRect(*record), *this);
        record = impl_->find(window);
    }
    sendMessage(window, WM_DESTROY, 0, 0);
    record = impl_->find(window);
    if (record == nullptr) {
        return true;
    }
    const std::vector<WindowHandle> children = record->children;
    for (WindowHandle child : children) {
        destroyWindow(child);
    }
    record = impl_->find(window);
    if (record == nullptr) {
        return true;
    }
    record->destroying = true;
    if (impl_->capture == window) {
        impl_->capture = WindowHandle{};
    }
    if (impl_->focus == window) {
        impl_->focus = WindowHandle{};
    }
    std::erase_if(impl_->timers, [&](const TimerRecord& t) { return t.window == window; });
    std::erase(impl_->topLevels, window);
    auto parentAt = impl_->windows.find(record->parent.id);
    if (parentAt != impl_->windows.end()) {
        std::erase(parentAt->second.children, window);
    }
    impl_->windows.erase(window.id);
    return true;
}

bool WindowSystem::isWindow(WindowHandle window) const { return impl_->find(window) != nullptr; }

WindowSystem::ObjectCounts WindowSystem::objectCounts() const {
    return ObjectCounts{impl_->windows.size(), impl_->timers.size(), impl_->cursors.size()};
}

bool WindowSystem::isVisible(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record != nullptr && impl_->shownWithAncestors(*record);
}

bool WindowSystem::enableWindow(WindowHandle window, bool enable) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    const bool wasDisabled = !record->enabled;
    record->enabled = enable;
    if (!enable && (impl_->capture == window)) {
        impl_->capture = WindowHandle{};
    }
    return wasDisabled;
}

Rect WindowSystem::windowPlace(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? Rect{} : record->place;
}

Rect WindowSystem::clientRect(WindowHandle window) const {
    const Rect place = windowPlace(window);
    return Rect{0, 0, std::max(place.width(), 0), std::max(place.height(), 0)};
}

Point WindowSystem::clientToScreen(WindowHandle window, Point client) const {
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return client;
    }
    const Rect rect = impl_->screenRect(*record);
    return Point{client.x + rect.left, client.y + rect.top};
}

Point WindowSystem::screenToClient(WindowHandle window, Point screen) const {
    const Point origin = clientToScreen(window, Point{});
    return Point{screen.x - origin.x, screen.y - origin.y};
}

WindowHandle WindowSystem::parent(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? WindowHandle{} : record->parent;
}

uint32_t WindowSystem::controlId(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? 0 : record->controlId;
}

WindowHandle WindowSystem::findControl(uint32_t id) const {
    for (const auto& [key, record] : impl_->windows) {
        if (!record.destroying && isChildStyle(record.style) && record.controlId == id &&
            impl_->shownWithAncestors(record)) {
            return record.handle;
        }
    }
    return WindowHandle{};
}

std::string WindowSystem::className(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? std::string{} : impl_->classes[record->classIndex].name;
}

uint32_t WindowSystem::style(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? 0 : (record->style | (record->visible ? WS_VISIBLE : 0u));
}

bool WindowSystem::setWindowText(WindowHandle window, std::string_view text) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    record->text = std::string(text);
    if (!isChildStyle(record->style)) {
        impl_->driver.titleChanged(window, text);
    }
    return true;
}

std::string WindowSystem::windowText(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? std::string{} : record->text;
}

WindowHandle WindowSystem::mainWindow() const {
    for (WindowHandle top : impl_->topLevels) {
        const WindowRecord* record = impl_->find(top);
        if (record != nullptr && record->sizeSent && className(top) != "#32770") {
            return top;
        }
    }
    return WindowHandle{};
}

int32_t WindowSystem::systemMetrics(int32_t index) const {
    switch (index) {
    case SM_CXSCREEN: return impl_->screen.width;
    case SM_CYSCREEN: return impl_->screen.height;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    default: return 0;
    }
}

uint64_t WindowSystem::tickCountMs() const { return impl_->driver.nowMs(); }

}  // namespace lumen
