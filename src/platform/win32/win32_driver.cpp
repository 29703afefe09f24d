// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/win32_driver.h"

#include <algorithm>
#include <vector>

#include "platform/dialog/desktop_file_chooser.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_driver_impl.h"

namespace lumen {

namespace {

constexpr const wchar_t* kWindowClass = L"LumenViewerFrame";
// Longest sleep while waiting, so that messages from other programs are seen.
constexpr uint64_t kPollIntervalMs = 100;
constexpr WORD kIconResource = 1;

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* impl = reinterpret_cast<Win32Driver::Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (impl == nullptr || impl->window != window) return DefWindowProcW(window, message, wParam, lParam);
    return impl->handle(message, wParam, lParam);
}

// A top-down DIB of rows [firstRow, firstRow + rows) of the frame.
BITMAPINFO topDownInfo(const PixelSurface& frame, LONG rows) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame.stridePixels;
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB words are the DIB's B, G, R, x bytes
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HCURSOR cursorFromImage(const CursorImage& image) {
    if (image.size.width <= 0 || image.size.height <= 0 ||
        image.pixels.size() < static_cast<size_t>(image.size.width) * static_cast<size_t>(image.size.height)) {
        return nullptr;
    }
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = image.size.width;
    header.bV5Height = -image.size.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr) return nullptr;
    std::copy(image.pixels.begin(), image.pixels.begin() + image.size.width * image.size.height,
              static_cast<uint32_t*>(bits));
    HBITMAP mask = CreateBitmap(image.size.width, image.size.height, 1, 1, nullptr);
    ICONINFO icon{};
    icon.fIcon = FALSE;
    icon.xHotspot = static_cast<DWORD>(image.hotSpot.x);
    icon.yHotspot = static_cast<DWORD>(image.hotSpot.y);
    icon.hbmMask = mask;
    icon.hbmColor = colour;
    HCURSOR cursor = CreateIconIndirect(&icon);
    DeleteObject(colour);
    DeleteObject(mask);
    return cursor;
}

}  // namespace

void Win32Driver::Impl::createWindow() {
    window = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window == nullptr) return;
    DragAcceptFiles(window, TRUE);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    SetForegroundWindow(window);
}

Size Win32Driver::Impl::clientSize() const {
    RECT client{};
    GetClientRect(window, &client);
    return Size{client.right - client.left, client.bottom - client.top};
}

void Win32Driver::Impl::paint(HDC dc, const RECT& area) const {
    if (lastFrame.pixels == nullptr) return;
    const LONG right = std::min<LONG>(area.right, lastFrame.width);
    const LONG bottom = std::min<LONG>(area.bottom, lastFrame.height);
    if (right <= area.left || bottom <= area.top) return;
    // The DIB handed over is exactly the rows to show, so the source's y
    // never comes into play: where a top-down DIB's source origin lies is
    // read differently by the desktops' SetDIBitsToDevice.
    const LONG rows = bottom - area.top;
    const BITMAPINFO info = topDownInfo(lastFrame, rows);
    const uint32_t* firstRow =
        lastFrame.pixels + static_cast<size_t>(area.top) * static_cast<size_t>(lastFrame.stridePixels);
    SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(right - area.left), static_cast<DWORD>(rows),
                      area.left, 0, 0, static_cast<UINT>(rows), firstRow, &info, DIB_RGB_COLORS);
}

void Win32Driver::Impl::replaceCursor(HCURSOR next, bool own) {
    if (next == nullptr) return;
    if (ownCursor && cursor != nullptr) DestroyCursor(cursor);
    cursor = next;
    ownCursor = own;
    POINT pointer{};
    GetCursorPos(&pointer);
    if (window != nullptr && WindowFromPoint(pointer) == window) SetCursor(cursor);
}

Win32Driver::Win32Driver() : impl_(std::make_unique<Impl>()) {
    impl_->instance = GetModuleHandleW(nullptr);
    impl_->icon = LoadIconW(impl_->instance, MAKEINTRESOURCEW(kIconResource));
    if (impl_->icon == nullptr) impl_->icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    impl_->cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = frameProcedure;
    windowClass.hInstance = impl_->instance;
    windowClass.hIcon = impl_->icon;
    windowClass.hIconSm = impl_->icon;
    windowClass.lpszClassName = kWindowClass;
    impl_->ready = RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    impl_->screen = Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Win32Driver::~Win32Driver() {
    if (impl_->window != nullptr) DestroyWindow(impl_->window);
    if (impl_->ownCursor && impl_->cursor != nullptr) DestroyCursor(impl_->cursor);
}

bool Win32Driver::isReady() const { return impl_->ready; }

Size Win32Driver::screenSize() const { return impl_->screen; }

Size Win32Driver::maximizedClientSize() {
    if (impl_->window == nullptr && impl_->ready) impl_->createWindow();
    if (impl_->window == nullptr) return impl_->screen;
    const Size size = impl_->clientSize();
    impl_->reported = size;
    impl_->sizing = true;
    return Size{std::min(size.width, impl_->screen.width), std::min(size.height, impl_->screen.height)};
}

uint64_t Win32Driver::nowMs() const { return GetTickCount64(); }

void Win32Driver::waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) {
    impl_->system = &system;
    const uint64_t now = GetTickCount64();
    uint64_t timeout = kPollIntervalMs;
    if (deadlineMs) timeout = std::min(timeout, *deadlineMs > now ? *deadlineMs - now : 0);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeout), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        if (message.message == WM_QUIT) {
            system.postQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        DispatchMessageW(&message);
    }
}

void Win32Driver::present(const PixelSurface& frame) {
    impl_->lastFrame = frame;
    if (impl_->window == nullptr || frame.pixels == nullptr) return;
    HDC dc = GetDC(impl_->window);
    RECT client{};
    GetClientRect(impl_->window, &client);
    impl_->paint(dc, client);
    ReleaseDC(impl_->window, dc);
}

void Win32Driver::topLevelShown(WindowHandle window, ShowCommand /*command*/) {
    if (impl_->main) return;
    impl_->main = window;
    if (impl_->window == nullptr && impl_->ready) impl_->createWindow();
}

void Win32Driver::titleChanged(WindowHandle window, std::string_view title) {
    if (window != impl_->main && impl_->main) return;
    impl_->title = wideFromUtf8(title);
    if (impl_->window != nullptr) SetWindowTextW(impl_->window, impl_->title.c_str());
}

void Win32Driver::setDropHandler(DropHandler handler) { impl_->drop = std::move(handler); }

ChooserAnswer Win32Driver::chooseFileToOpen(const OpenFileRequest& request) {
    return chooseFileWithDesktop(request);
}

void Win32Driver::cursorChanged(uint32_t systemId, const CursorImage* image) {
    if (image != nullptr) {
        impl_->replaceCursor(cursorFromImage(*image), true);
    } else {
        impl_->replaceCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(systemId)), false);
    }
}

}  // namespace lumen
