// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "platform/draw/raster_canvas.h"
#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

Rect unite(const Rect& a, const Rect& b) {
    if (a.isEmpty()) {
        return b;
    }
    if (b.isEmpty()) {
        return a;
    }
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

std::unique_ptr<Canvas> WindowSystem::Impl::makeCanvas(const WindowRecord& record,
                                                       const std::optional<Rect>& clientClip) {
    const Rect area = screenRect(record);
    Rect clip = visibleScreenRect(record);
    if (clientClip) {
        clip = clip.intersected(clientClip->translated(area.left, area.top));
    }
    PixelSurface surface{framePixels.data(), screen.width, screen.height, screen.width};
    auto canvas = std::make_unique<RasterCanvas>(surface, area);
    canvas->setClipRect(clip.isEmpty() ? Rect{0, 0, 0, 0} : clip.translated(-area.left, -area.top));
    ++frameGeneration;
    return canvas;
}

void WindowSystem::Impl::invalidateBeneath(const WindowRecord& record, const Rect& screenArea, WindowSystem& system) {
    if (const WindowRecord* up = find(record.parent); up != nullptr && (record.style & WS_CHILD) != 0) {
        const Rect parentArea = screenRect(*up);
        system.invalidateRect(up->handle, screenArea.translated(-parentArea.left, -parentArea.top), Erase::Yes);
        return;
    }
    for (WindowHandle top : topLevels) {
        const WindowRecord* other = find(top);
        if (other != nullptr && top != record.handle) {
            const Rect otherArea = screenRect(*other);
            system.invalidateRect(top, screenArea.translated(-otherArea.left, -otherArea.top), Erase::Yes);
        }
    }
    if (!screenArea.isEmpty()) {
        // Nothing paints the desktop; what a window leaves behind turns grey.
        PixelSurface surface{framePixels.data(), screen.width, screen.height, screen.width};
        RasterCanvas desktop(surface, Rect{0, 0, screen.width, screen.height});
        desktop.fillRect(screenArea, Brush::grey());
        ++frameGeneration;
    }
}

bool WindowSystem::invalidateRect(WindowHandle window, const std::optional<Rect>& rect, Erase erase) {
    if (!window) {
        for (WindowHandle top : std::vector<WindowHandle>(impl_->topLevels)) {
            invalidateRect(top, std::nullopt, erase);
        }
        return true;
    }
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    const Rect client = clientRect(window);
    const Rect area = rect ? rect->normalized().intersected(client) : client;
    if (area.isEmpty()) {
        return true;
    }
    record->update = unite(record->update, area);
    record->erase = record->erase || erase == Erase::Yes;
    if ((record->style & WS_CLIPCHILDREN) != 0) {
        return true;
    }
    for (WindowHandle child : std::vector<WindowHandle>(record->children)) {
        const WindowRecord* inner = impl_->find(child);
        if (inner != nullptr && inner->visible) {
            const Rect overlap = area.intersected(inner->place);
            if (!overlap.isEmpty()) {
                invalidateRect(child, overlap.translated(-inner->place.left, -inner->place.top), erase);
            }
        }
    }
    return true;
}

bool WindowSystem::validateRect(WindowHandle window) {
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    record->update = Rect{};
    record->erase = false;
    return true;
}

bool WindowSystem::updateWindow(WindowHandle window) {
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return false;
    }
    if (!record->update.isEmpty() && impl_->shownWithAncestors(*record)) {
        sendMessage(window, WM_PAINT, 0, 0);
        validateRect(window);
    }
    return true;
}

Canvas* WindowSystem::beginPaint(WindowHandle window, PaintStruct& paint) {
    paint = PaintStruct{};
    WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return nullptr;
    }
    const Rect area = record->update.intersected(clientRect(window));
    paint.paintRect = area.isEmpty() ? Rect{} : area;
    const bool erase = record->erase;
    record->update = Rect{};
    record->erase = false;
    auto canvas = impl_->makeCanvas(*record, paint.paintRect);
    paint.canvas = canvas.get();
    impl_->paintCanvases[window.id] = std::move(canvas);
    if (erase) {
        paint.erased = sendMessage(window, WM_ERASEBKGND, reinterpret_cast<WParam>(paint.canvas), 0) != 0;
    }
    if (WindowRecord* after = impl_->find(window); after != nullptr) {
        after->paintedGeneration = impl_->frameGeneration;
    }
    return paint.canvas;
}

void WindowSystem::endPaint(WindowHandle window, const PaintStruct& paint) {
    auto found = impl_->paintCanvases.find(window.id);
    if (found != impl_->paintCanvases.end() && found->second.get() == paint.canvas) {
        impl_->paintCanvases.erase(found);
    }
}

std::unique_ptr<Canvas> WindowSystem::getDC(WindowHandle window) {
    const WindowRecord* record = impl_->find(window);
    if (record == nullptr) {
        return nullptr;
    }
    return impl_->makeCanvas(*record, std::nullopt);
}

void WindowSystem::releaseDC(WindowHandle /*window*/, std::unique_ptr<Canvas> canvas) { canvas.reset(); }

PixelSurface WindowSystem::frame() const {
    return PixelSurface{impl_->framePixels.data(), impl_->screen.width, impl_->screen.height, impl_->screen.width};
}

void WindowSystem::present() {
    if (impl_->presentedGeneration == impl_->frameGeneration) {
        return;
    }
    // Message boxes stay on top of whatever the program drew outside paint.
    for (WindowHandle top : std::vector<WindowHandle>(impl_->topLevels)) {
        const WindowRecord* record = impl_->find(top);
        if (record != nullptr && record->visible && className(top) == "#32770" &&
            record->paintedGeneration < impl_->frameGeneration) {
            invalidateRect(top, std::nullopt, Erase::Yes);
            updateWindow(top);
        }
    }
    impl_->driver.present(frame());
    impl_->presentedGeneration = impl_->frameGeneration;
}

}  // namespace lumen
