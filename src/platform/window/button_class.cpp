// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/push_button_face.h"
#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr std::string_view pressedProperty = "lumen.button.pressed";
// Set from the button's own left-button press until that press ends: only a
// press the button itself saw can end in a click.
constexpr std::string_view trackingProperty = "lumen.button.tracking";

bool isOwnerDrawn(WindowSystem& system, WindowHandle button) {
    return (system.style(button) & BS_TYPEMASK) == BS_OWNERDRAW;
}

void setPressed(WindowSystem& system, WindowHandle button, bool pressed) {
    const bool was = system.getProp(button, pressedProperty) != nullptr;
    if (pressed) {
        system.setProp(button, pressedProperty, reinterpret_cast<void*>(uintptr_t{1}));
    } else {
        system.removeProp(button, pressedProperty);
    }
    if (was != pressed && !isOwnerDrawn(system, button)) {
        system.invalidateRect(button, std::nullopt, Erase::No);
    }
}

bool isTracking(WindowSystem& system, WindowHandle button) {
    return system.getProp(button, trackingProperty) != nullptr;
}

void setTracking(WindowSystem& system, WindowHandle button, bool tracking) {
    if (tracking) {
        system.setProp(button, trackingProperty, reinterpret_cast<void*>(uintptr_t{1}));
    } else {
        system.removeProp(button, trackingProperty);
    }
}

void paintButton(WindowSystem& system, WindowHandle button) {
    PaintStruct paint;
    Canvas* canvas = system.beginPaint(button, paint);
    const bool pressed = system.getProp(button, pressedProperty) != nullptr;
    if (canvas != nullptr && isOwnerDrawn(system, button)) {
        DrawItemStruct item;
        item.controlId = system.controlId(button);
        item.itemState = (pressed ? ODS_SELECTED : 0u) | (system.focus() == button ? ODS_FOCUS : 0u);
        item.item = button;
        item.canvas = canvas;
        item.itemRect = system.clientRect(button);
        system.sendMessage(system.parent(button), WM_DRAWITEM, item.controlId, reinterpret_cast<LParam>(&item));
    } else if (canvas != nullptr) {
        drawPushButtonFace(*canvas, system.clientRect(button), system.windowText(button),
                           pressed ? ButtonFace::Pressed : ButtonFace::Raised);
    }
    system.endPaint(button, paint);
}

LResult buttonProc(WindowSystem& system, WindowHandle button, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        system.setFocus(button);
        system.setCapture(button);
        setTracking(system, button, true);
        setPressed(system, button, true);
        return 0;
    case WM_MOUSEMOVE:
        if (isTracking(system, button) && system.capture() == button) {
            setPressed(system, button, system.clientRect(button).contains(pointFromLParam(lParam)));
        }
        return 0;
    case WM_LBUTTONUP: {
        // A release whose press went elsewhere (a subclass that took the
        // press, a capture of someone else's) is none of the button's business.
        if (!isTracking(system, button)) {
            return 0;
        }
        setTracking(system, button, false);
        const bool inside = system.clientRect(button).contains(pointFromLParam(lParam));
        system.releaseCapture();
        if (inside) {
            system.sendMessage(system.parent(button), WM_COMMAND, makeWParam(system.controlId(button), BN_CLICKED),
                               toLParam(button));
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        setTracking(system, button, false);
        setPressed(system, button, false);
        return 0;
    case WM_PAINT: paintButton(system, button); return 0;
    case WM_ERASEBKGND: return 1;  // the face covers the whole button, or its owner draws it
    default: return system.defWindowProc(button, message, wParam, lParam);
    }
}

}  // namespace

void registerButtonClass(WindowSystem& system) {
    WindowClass button;
    button.name = "button";
    button.procedure = &buttonProc;
    button.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    button.cursor = system.loadCursor(IDC_ARROW);
    system.registerClass(button);
}

}  // namespace lumen
