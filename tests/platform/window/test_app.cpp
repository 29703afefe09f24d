// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_app.h"

namespace lumen::testing {

namespace {

void log(const WindowSystem& system, std::string window, uint32_t message, WParam wParam, LParam lParam) {
    messageLog().push_back(
        LoggedMessage{std::move(window), message, wParam, lParam, (system.keyState(VK_CONTROL) & 0x8000) != 0,
                      (system.keyState(VK_SHIFT) & 0x8000) != 0, (system.keyState(VK_MENU) & 0x8000) != 0});
}

LResult mainProc(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    log(system, "main", message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: system.postQuitMessage(7); return 0;
    case 0x220: system.destroyWindow(window); return 0;
    default: return system.defWindowProc(window, message, wParam, lParam);
    }
}

LResult paneProc(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    log(system, "pane", message, wParam, lParam);
    switch (message) {
    case WM_COMMAND: system.setFocus(system.parent(window)); return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DrawItemStruct*>(lParam);
        item->canvas->fillRect(item->itemRect, Brush::solid(drawnFaceColor));
        return 1;
    }
    default: return system.defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

std::vector<LoggedMessage>& messageLog() {
    static std::vector<LoggedMessage> entries;
    return entries;
}

std::vector<LoggedMessage> logged(uint32_t message) {
    std::vector<LoggedMessage> found;
    for (const LoggedMessage& entry : messageLog()) {
        if (entry.message == message) {
            found.push_back(entry);
        }
    }
    return found;
}

TestApp::TestApp(WindowSystem& system) {
    messageLog().clear();
    system.registerClass(WindowClass{"test_main", &mainProc, CS_HREDRAW | CS_VREDRAW, Brush::solid(mainColor),
                                     system.loadCursor(IDC_ARROW)});
    system.registerClass(WindowClass{"test_pane", &paneProc, CS_HREDRAW | CS_VREDRAW, Brush::solid(paneColor),
                                     system.loadCursor(IDC_CROSS)});
    main = system.createWindow(WindowCreation{
        "test_main", "", WS_OVERLAPPEDWINDOW, Rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT}, {}, 0});
    pane = system.createWindow(
        WindowCreation{"test_pane", "", WS_CHILD | WS_CLIPSIBLINGS, Rect{10, 10, 210, 110}, main, 0});
    ownerDrawn = system.createWindow(
        WindowCreation{"button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Rect{20, 20, 60, 40}, pane, ownerDrawnId});
    plain = system.createWindow(
        WindowCreation{"button", "Go", WS_CHILD | WS_VISIBLE, Rect{100, 20, 160, 44}, pane, plainId});
    system.showWindow(main, ShowCommand::Maximized);
    system.updateWindow(main);
    system.showWindow(pane, ShowCommand::Normal);
    system.updateWindow(pane);
}

}  // namespace lumen::testing
