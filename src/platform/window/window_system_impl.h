// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Internal state of WindowSystem, shared by its implementation files only.

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/window_system.h"

namespace lumen {

struct WindowRecord {
    WindowHandle handle;
    size_t classIndex = 0;
    WindowProc procedure = nullptr;
    WindowHandle parent;
    std::vector<WindowHandle> children;  // creation order, which is the paint order
    uint32_t style = 0;
    uint32_t controlId = 0;
    Rect place;  // parent client coordinates (screen for top-level windows)
    std::string text;
    std::vector<std::pair<std::string, void*>> properties;
    bool visible = false;
    bool enabled = true;
    bool sizeSent = false;  // first WM_SIZE delivered
    bool destroying = false;
    Rect update;  // client coordinates; empty when nothing needs painting
    bool erase = false;
    uint64_t paintedGeneration = 0;
};

struct TimerRecord {
    WindowHandle window;
    uint32_t timerId = 0;
    uint32_t periodMs = 0;
    uint64_t dueMs = 0;
};

struct InputEvent {
    enum class Kind : uint8_t { Move, Button, Key, Close, Size };
    Kind kind = Kind::Move;
    Point screen;
    MouseButton button = MouseButton::Left;
    ButtonAction buttonAction = ButtonAction::Down;
    bool leftHeld = false;  // a move that reports the left button held
    uint32_t virtualKey = 0;
    KeyAction keyAction = KeyAction::Down;
    WindowHandle window;
    WParam sizeKind = 0;
    Size client;
};

struct CursorEntry {
    uint32_t systemId = 0;  // 0 for an image cursor
    CursorImage image;
};

struct MessageBoxRecord;

struct WindowSystem::Impl {
    explicit Impl(Driver& d) : driver(d) {}

    Driver& driver;
    std::vector<WindowClass> classes;
    std::map<uint32_t, WindowRecord> windows;  // by id: creation order
    std::vector<WindowHandle> topLevels;       // bottom to top
    uint32_t nextWindowId = 1;

    std::deque<Message> posted;
    std::deque<InputEvent> input;
    bool quitPosted = false;
    int32_t quitCode = 0;
    std::vector<TimerRecord> timers;

    WindowHandle focus;
    WindowHandle capture;
    std::array<bool, virtualKeyCount> keysDown{};
    Point cursorPosition{-1, -1};
    WindowHandle lastDownWindow;
    MouseButton lastDownButton = MouseButton::Left;
    uint64_t lastDownMs = 0;
    Point lastDownPoint;
    bool lastDownWasDouble = true;

    std::map<uint32_t, CursorEntry> cursors;
    uint32_t nextCursorId = 1;
    CursorHandle currentCursor;

    Size screen;
    std::vector<uint32_t> framePixels;
    uint64_t frameGeneration = 1;
    uint64_t presentedGeneration = 0;

    std::vector<MessageBoxRecord*> boxes;                       // innermost last
    bool boxesAnswerThemselves = false;                         // the program is being ended from outside
    std::map<uint32_t, std::unique_ptr<Canvas>> paintCanvases;  // by window id
    std::function<void(WindowSystem&)> externalPoll;
    Message current;

    WindowRecord* find(WindowHandle window);
    const WindowRecord* find(WindowHandle window) const;
    const WindowRecord* container(const WindowRecord& record) const;  // parent of a child window
    Rect screenRect(const WindowRecord& record) const;
    Rect visibleScreenRect(const WindowRecord& record) const;
    bool shownWithAncestors(const WindowRecord& record) const;
    bool enabledWithAncestors(const WindowRecord& record) const;
    WindowHandle topLevelOf(WindowHandle window) const;
    std::unique_ptr<Canvas> makeCanvas(const WindowRecord& record, const std::optional<Rect>& clientClip);
    void invalidateBeneath(const WindowRecord& record, const Rect& screenArea, WindowSystem& system);
};

void registerButtonClass(WindowSystem& system);
void registerMessageBoxClass(WindowSystem& system);

}  // namespace lumen
