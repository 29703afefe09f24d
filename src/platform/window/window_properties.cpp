// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <utility>

#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

WindowProc WindowSystem::setWindowProc(WindowHandle window, WindowProc procedure) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr || procedure == nullptr) {
        return nullptr;
    }
    return std::exchange(record->procedure, procedure);
}

WindowProc WindowSystem::windowProc(WindowHandle window) const {
    const WindowRecord* record = impl_->find(window);
    return record == nullptr ? nullptr : record->procedure;
}

LResult WindowSystem::callWindowProc(WindowProc procedure, WindowHandle window, uint32_t message, WParam wParam,
                                     LParam lParam) {
    return procedure == nullptr ? 0 : procedure(*this, window, message, wParam, lParam);
}

bool WindowSystem::setProp(WindowHandle window, std::string_view name, void* value) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    for (auto& [key, stored] : record->properties) {
        if (key == name) {
            stored = value;
            return true;
        }
    }
    record->properties.emplace_back(std::string(name), value);
    return true;
}

void* WindowSystem::getProp(WindowHandle window, std::string_view name) const {
    const WindowRecord* record = impl_->find(window);
    if (record != nullptr) {
        for (const auto& [key, stored] : record->properties) {
            if (key == name) {
                return stored;
            }
        }
    }
    return nullptr;
}

void* WindowSystem::removeProp(WindowHandle window, std::string_view name) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return nullptr;
    }
    auto& props = record->properties;
    auto at = std::find_if(props.begin(), props.end(), [&](const auto& p) { return p.first == name; });
    if (at == props.end()) {
        return nullptr;
    }
    void* value = at->second;
    props.erase(at);
    return value;
}

}  // namespace lumen
