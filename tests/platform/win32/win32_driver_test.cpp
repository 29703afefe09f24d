// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop window of Win32Driver, driven by the messages the desktop
// sends it.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_driver.h"
#include "platform/window/window_system.h"
#include "window/test_app.h"

namespace lumen::testing {
namespace {

void pump(WindowSystem& system) {
    Message message;
    while (system.peekMessage(message, RemoveMessage::Yes)) system.dispatchMessage(message);
}

struct LostMouseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool fromOtherWindow;  // lParam names another window
};

// Alt+Tab, another program's capture or a menu mode during a caliper drag:
// the button the viewer saw go down comes up once, and no drag goes on.
TEST(Win32DriverMouse, LostCaptureLetsGoOfTheHeldButton) {
    const LostMouseCase cases[] = {
        {"capture taken by another window", WM_CAPTURECHANGED, 0, true},
        {"focus lost (Alt+Tab)", WM_KILLFOCUS, 0, true},
        {"cancel mode", WM_CANCELMODE, 0, false},
    };
    for (const LostMouseCase& c : cases) {
        messageLog().clear();
        Win32Driver driver;
        ASSERT_TRUE(driver.isReady()) << c.name;
        WindowSystem system(driver);
        TestApp app(system);
        HWND frame = FindWindowW(L"LumenViewerFrame", nullptr);
        if (frame == nullptr) GTEST_SKIP() << "this desktop makes no windows";
        driver.waitForInput(system, driver.nowMs());
        HWND other = CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
        SendMessageW(frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(320, 210));
        SendMessageW(frame, c.message, c.wParam, c.fromOtherWindow ? reinterpret_cast<LPARAM>(other) : 0);
        SendMessageW(frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(340, 220));
        pump(system);
        EXPECT_EQ(logged(WM_LBUTTONDOWN).size(), 1u) << c.name;
        EXPECT_EQ(logged(WM_LBUTTONUP).size(), 1u) << c.name;
        DestroyWindow(other);
    }
}

// What Explorer hands over on a drop: DROPFILES and the wide names, each
// ended by a null, the list by another.
HGLOBAL droppedFiles(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) list += name + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST(Win32DriverDrop, FilesDroppedFromExplorerReachTheDropHandlerInUtf8) {
    Win32Driver driver;
    ASSERT_TRUE(driver.isReady());
    std::vector<std::string> dropped;
    driver.setDropHandler([&](const std::string& path) { dropped.push_back(path); });
    WindowSystem system(driver);
    TestApp app(system);
    HWND frame = FindWindowW(L"LumenViewerFrame", nullptr);
    if (frame == nullptr) GTEST_SKIP() << "this desktop makes no windows";
    driver.waitForInput(system, driver.nowMs());
    SendMessageW(frame, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(droppedFiles({L"C:\\data\\My file.edf", L"C:\\data\\P\u00e9ter.hea"})), 0);
    EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\data\\My file.edf", "C:\\data\\P\xC3\xA9ter.hea"}));
}

}  // namespace
}  // namespace lumen::testing
