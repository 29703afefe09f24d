#include "platform/window/push_button_face.h"
#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr std::string_view pressedProperty = "lumen.button.pressed";

bool isOwnerDrawn(WindowSystem& system, WindowHandle button)
{
    return (system.style(button) & BS_TYPEMASK) == BS_OWNERDRAW;
}

void setPressed(WindowSystem& system, WindowHandle button, bool pressed)
{
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

void paintButton(WindowSystem& system, WindowHandle button)
{
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
        system.sendMessage(system.parent(button), WM_DRAWITEM, item.controlId,
                           reinterpret_cast<LParam>(&item));
    } else if (canvas != nullptr) {
        drawPushButtonFace(*canvas, system.clientRect(button), system.windowText(button),
                           pressed ? ButtonFace::Pressed : ButtonFace::Raised);
    }
    system.endPaint(button, paint);
}

LResult buttonProc(WindowHandle button, uint32_t message, WParam wParam, LParam lParam)
{
    WindowSystem& system = WindowSystem::active();
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        system.setFocus(button);
        system.setCapture(button);
        setPressed(system, button, true);
        return 0;
    case WM_MOUSEMOVE:
        if (system.capture() == button) {
            setPressed(system, button, system.clientRect(button).contains(pointFromLParam(lParam)));
        }
        return 0;
    case WM_LBUTTONUP: {
        if (system.capture() != button) {
            return 0;
        }
        const bool inside = system.clientRect(button).contains(pointFromLParam(lParam));
        system.releaseCapture();
        if (inside) {
            system.sendMessage(system.parent(button), WM_COMMAND,
                               makeWParam(system.controlId(button), BN_CLICKED), toLParam(button));
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        setPressed(system, button, false);
        return 0;
    case WM_PAINT:
        paintButton(system, button);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the face covers the whole button, or its owner draws it
    default:
        return system.defWindowProc(button, message, wParam, lParam);
    }
}

}  // namespace

void registerButtonClass(WindowSystem& system)
{
    WindowClass button;
    button.name = "button";
    button.procedure = &buttonProc;
    button.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    button.cursor = system.loadCursor(IDC_ARROW);
    system.registerClass(button);
}

}  // namespace lumen
