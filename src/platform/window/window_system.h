// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pixel_surface.h"
#include "platform/window/cursor.h"
#include "platform/window/driver.h"
#include "platform/window/message.h"
#include "platform/window/message_box_style.h"
#include "platform/window/paint_struct.h"
#include "platform/window/virtual_keys.h"
#include "platform/window/win32_names.h"
#include "platform/window/window_class.h"
#include "platform/window/window_style.h"

namespace lumen {

enum class RemoveMessage : uint8_t { No, Yes };

struct WindowCreation {
    std::string_view className;
    std::string_view text;
    uint32_t style = 0;  // WS_* and, for buttons, BS_* bits
    Rect place;          // in the parent's client coordinates (x, y, x + w, y + h)
    WindowHandle parent;
    uint32_t controlId = 0;
};

// The windows of one program: classes, windows, the message queue and its
// loop, focus, capture, timers, properties and painting into one screen-sized
// framebuffer. Window procedures get it as their first argument. The class
// "button" (push and owner-drawn) is registered from the start.
// Single-threaded, like the desktop's window thread.
class WindowSystem {
public:
    explicit WindowSystem(Driver& driver);
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    Driver& driver();

    // --- classes and windows ------------------------------------------------
    bool registerClass(const WindowClass& windowClass);
    WindowHandle createWindow(const WindowCreation& creation);
    bool destroyWindow(WindowHandle window);
    bool isWindow(WindowHandle window) const;
    // What the system holds for the application, as a task manager counts
    // handles: a number that grows over a session is a leak.
    struct ObjectCounts {
        size_t windows = 0;
        size_t timers = 0;
        size_t cursors = 0;
    };
    ObjectCounts objectCounts() const;
    bool showWindow(WindowHandle window, ShowCommand command);
    bool isVisible(WindowHandle window) const;  // itself and every ancestor
    bool enableWindow(WindowHandle window, bool enable);
    bool moveWindow(WindowHandle window, const Rect& place, Repaint repaint);
    Rect windowPlace(WindowHandle window) const;  // in the parent's client coordinates
    Rect clientRect(WindowHandle window) const;   // (0, 0, width, height)
    Point clientToScreen(WindowHandle window, Point client) const;
    Point screenToClient(WindowHandle window, Point screen) const;
    WindowHandle parent(WindowHandle window) const;
    uint32_t controlId(WindowHandle window) const;
    WindowHandle findControl(uint32_t controlId) const;  // first visible one
    std::string className(WindowHandle window) const;
    uint32_t style(WindowHandle window) const;
    bool setWindowText(WindowHandle window, std::string_view text);
    std::string windowText(WindowHandle window) const;
    // The innermost visible, enabled window under a screen point.
    WindowHandle windowFromPoint(Point screen) const;
    // The first top-level window shown that is not a message box.
    WindowHandle mainWindow() const;

    // --- subclassing and properties -----------------------------------------
    WindowProc setWindowProc(WindowHandle window, WindowProc procedure);
    WindowProc windowProc(WindowHandle window) const;
    LResult callWindowProc(WindowProc procedure, WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    bool setProp(WindowHandle window, std::string_view name, void* value);
    void* getProp(WindowHandle window, std::string_view name) const;
    void* removeProp(WindowHandle window, std::string_view name);

    // --- messages -----------------------------------------------------------
    LResult sendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    bool postMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    void postQuitMessage(int32_t exitCode);
    // Waits for the next message; false once the quit message is taken.
    bool getMessage(Message& message);
    // Takes a waiting message without waiting for input.
    bool peekMessage(Message& message, RemoveMessage remove);
    void translateMessage(const Message& message);
    LResult dispatchMessage(const Message& message);
    // get, translate, dispatch until quit; returns the quit code.
    int32_t runMessageLoop();
    int32_t quitCode() const;
    LResult defWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

    // --- keyboard, mouse, cursors -------------------------------------------
    WindowHandle setFocus(WindowHandle window);
    WindowHandle focus() const;
    WindowHandle setCapture(WindowHandle window);
    bool releaseCapture();
    WindowHandle capture() const;
    // High bit (0x8000) set while the key is down, as of the message being handled.
    int16_t keyState(uint32_t virtualKey) const;
    CursorHandle loadCursor(uint32_t systemId);
#ifdef _WIN32
    // There IDC_* name resources: the id travels in the pointer's value.
    CursorHandle loadCursor(const char* systemId) { return loadCursor(resourceNumber(systemId)); }
    CursorHandle loadCursor(const wchar_t* systemId) { return loadCursor(resourceNumber(systemId)); }
#endif
    CursorHandle createCursor(CursorImage image);
    bool destroyCursor(CursorHandle cursor);
    CursorHandle setCursor(CursorHandle cursor);
    CursorHandle currentCursor() const;
    CursorHandle setClassCursor(WindowHandle window, CursorHandle cursor);
    Point cursorPosition() const;  // screen

    // --- timers, clock, metrics ---------------------------------------------
    uint32_t setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs);
    bool killTimer(WindowHandle window, uint32_t timerId);
    uint64_t tickCountMs() const;
    int32_t systemMetrics(int32_t index) const;

    // --- painting -----------------------------------------------------------
    bool invalidateRect(WindowHandle window, const std::optional<Rect>& rect, Erase erase);
    bool validateRect(WindowHandle window);
    bool updateWindow(WindowHandle window);
    Canvas* beginPaint(WindowHandle window, PaintStruct& paint);
    void endPaint(WindowHandle window, const PaintStruct& paint);
    // A canvas over the client area, clipped to what of it is on screen.
    std::unique_ptr<Canvas> getDC(WindowHandle window);
    void releaseDC(WindowHandle window, std::unique_ptr<Canvas> canvas);
    PixelSurface frame() const;
    // Brings the screen up to date (message boxes on top) and presents it.
    void present();

    // --- message boxes ------------------------------------------------------
    // Modal: runs its own message loop until answered; returns IDOK, IDYES or IDNO.
    int32_t messageBox(WindowHandle owner, std::string_view text, std::string_view caption, uint32_t flags);
    std::optional<MessageBoxInfo> openMessageBox() const;
    // Answers the innermost open box; false if none is open or it has no such answer.
    bool answerMessageBox(int32_t answer);
    // The program is being ended from outside (a termination signal, the
    // display gone) and nobody may be there to answer: every open box is
    // answered with its safe button (OK, or No: what was not confirmed is not
    // done), and later boxes return that answer at once without showing.
    void answerMessageBoxesForExit();
    // The display went away under the program; nothing is shown any more.
    bool displayLost() const;

    // --- input from the driver (screen coordinates) -------------------------
    // `leftHeld`: the move is a drag whatever the button did before (the
    // test script's move).
    void inputMouseMove(Point screen, bool leftHeld = false);
    void inputMouseButton(MouseButton button, ButtonAction action, Point screen);
    void inputKey(uint32_t virtualKey, KeyAction action);
    void inputClose(WindowHandle topLevel);
    void inputSize(WindowHandle topLevel, WParam sizeKind, Size client);
    // Polled before waiting, for messages from other programs.
    void setExternalPoll(std::function<void(WindowSystem&)> poll);

    struct Impl;

private:
#ifdef _WIN32
    template <typename Char>
    static uint32_t resourceNumber(const Char* resource) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(resource));
    }
#endif

    std::unique_ptr<Impl> impl_;
};

}  // namespace lumen
