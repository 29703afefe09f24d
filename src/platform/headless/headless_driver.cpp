// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_driver.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/draw/raster_canvas.h"
#include "platform/file/utf8_path.h"
#include "platform/window/app_messages.h"
#include "platform/window/window_system.h"

namespace lumen {

namespace {

bool writeFallbackDump(const std::string& path, Size screen) {
    std::ofstream file(pathFromUtf8(path), std::ios::binary);
    file << "{\"screen\": [" << screen.width << ", " << screen.height << "], \"messageBox\": null}\n";
    return static_cast<bool>(file);
}

}  // namespace

HeadlessDriver::HeadlessDriver(Size screen, std::vector<ScriptAction> actions)
    : screen_(Size{std::max(screen.width, 1), std::max(screen.height, 1)}),
      actions_(std::move(actions)),
      exit_([](int status) { std::exit(status); }) {}

void HeadlessDriver::setDumpHandler(DumpHandler handler) { dump_ = std::move(handler); }

void HeadlessDriver::setDropHandler(DropHandler handler) { drop_ = std::move(handler); }

ChooserAnswer HeadlessDriver::chooseFileToOpen(const OpenFileRequest& request) {
    if (failed_) {
        return {ChooserOutcome::Unavailable, {}};
    }
    if (next_ >= actions_.size() || actions_[next_].verb != ScriptVerb::Choose) {
        failLater(scriptErrorStatus, "unexpected file dialog \"" + request.title + "\": the next action is not choose");
        return {ChooserOutcome::Unavailable, {}};
    }
    const ScriptAction& action = actions_[next_++];
    if (action.cancelled) return {ChooserOutcome::Cancelled, {}};
    return {ChooserOutcome::Chosen, action.path};
}

bool HeadlessDriver::mayOpenMessageBox() const {
    return next_ < actions_.size() && actions_[next_].verb == ScriptVerb::Answer;
}

void HeadlessDriver::setExitHandler(ExitHandler handler) { exit_ = std::move(handler); }

void HeadlessDriver::fail(WindowSystem& system, int status, const std::string& message) {
    failLater(status, message);
    system.postQuitMessage(status);
}

void HeadlessDriver::failLater(int status, const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    failed_ = true;
    exit_(status);
}

void HeadlessDriver::waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) {
    if (failed_) {
        system.postQuitMessage(scriptErrorStatus);
        return;
    }
    if (clockTargetMs_ > nowMs_) {
        // Inside a wait: stop at each due timer so that its message and all
        // it causes are handled before the clock goes on.
        nowMs_ = deadlineMs && *deadlineMs < clockTargetMs_ ? std::max(*deadlineMs, nowMs_) : clockTargetMs_;
        return;
    }
    if (next_ < actions_.size()) {
        const ScriptAction& action = actions_[next_++];
        run(system, action);
        return;
    }
    const WindowHandle main = system.mainWindow();
    if (closesSent_++ == 0 && main) {
        system.inputClose(main);
    } else {
        system.postQuitMessage(0);
    }
}

void HeadlessDriver::messageBoxOpened(const MessageBoxInfo& box) {
    if (next_ < actions_.size() && actions_[next_].verb == ScriptVerb::Answer) {
        return;
    }
    std::fprintf(stderr, "unexpected message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    std::fflush(stderr);
    failed_ = true;
    exit_(unexpectedBoxStatus);
}

Point HeadlessDriver::toScreen(WindowSystem& system, Point client) const {
    const WindowHandle main = system.mainWindow();
    return main ? system.clientToScreen(main, client) : client;
}

void HeadlessDriver::moveTo(WindowSystem& system, Point screen, bool drag) {
    if (drag || screen != pointer_) {
        pointer_ = screen;
        system.inputMouseMove(screen, drag);
    }
}

void HeadlessDriver::clickAt(WindowSystem& system, Point screen, MouseButton button) {
    moveTo(system, screen, false);
    system.inputMouseButton(button, ButtonAction::Down, screen);
    system.inputMouseButton(button, ButtonAction::Up, screen);
}

void HeadlessDriver::pointerAction(WindowSystem& system, const ScriptAction& action) {
    const Point screen = toScreen(system, action.point);
    switch (action.verb) {
    case ScriptVerb::Click: clickAt(system, screen, MouseButton::Left); break;
    case ScriptVerb::RightClick: clickAt(system, screen, MouseButton::Right); break;
    case ScriptVerb::Press:
        moveTo(system, screen, false);
        system.inputMouseButton(MouseButton::Left, ButtonAction::Down, screen);
        break;
    case ScriptVerb::Move: moveTo(system, screen, true); break;
    default:
        moveTo(system, screen, false);
        system.inputMouseButton(MouseButton::Left, ButtonAction::Up, screen);
        break;
    }
}

void HeadlessDriver::keyAction(WindowSystem& system, const ScriptAction& action) {
    constexpr std::array<std::pair<uint8_t, uint32_t>, 3> modifiers{
        {{modifierCtrl, VK_CONTROL}, {modifierShift, VK_SHIFT}, {modifierAlt, VK_MENU}}};
    for (const auto& [bit, key] : modifiers) {
        if ((action.modifiers & bit) != 0) {
            system.inputKey(key, KeyAction::Down);
        }
    }
    system.inputKey(action.virtualKey, KeyAction::Down);
    system.inputKey(action.virtualKey, KeyAction::Up);
    for (auto at = modifiers.rbegin(); at != modifiers.rend(); ++at) {
        if ((action.modifiers & at->first) != 0) {
            system.inputKey(at->second, KeyAction::Up);
        }
    }
}

void HeadlessDriver::run(WindowSystem& system, const ScriptAction& action) {
    const std::string where = "script line " + std::to_string(action.lineNumber) + ": ";
    const WindowHandle main = system.mainWindow();
    switch (action.verb) {
    case ScriptVerb::Key: keyAction(system, action); break;
    case ScriptVerb::Click:
    case ScriptVerb::RightClick:
    case ScriptVerb::Press:
    case ScriptVerb::Move:
    case ScriptVerb::Release: pointerAction(system, action); break;
    case ScriptVerb::Button: {
        const WindowHandle button = system.findControl(action.number);
        if (!button) {
            fail(system, scriptErrorStatus, where + "no visible button " + std::to_string(action.number));
            return;
        }
        const Rect client = system.clientRect(button);
        clickAt(system, system.clientToScreen(button, Point{client.width() / 2, client.height() / 2}),
                MouseButton::Left);
        break;
    }
    case ScriptVerb::Wait: clockTargetMs_ = nowMs_ + action.milliseconds; break;
    case ScriptVerb::Answer:
        if (!system.answerMessageBox(action.answer)) {
            fail(system, scriptErrorStatus, where + "answer: no open message box takes that answer");
        }
        break;
    case ScriptVerb::Shot: {
        system.present();
        const RasterCanvas screen(system.frame(), Rect{0, 0, screen_.width, screen_.height});
        if (!screen.savePng(action.path)) {
            fail(system, scriptErrorStatus, where + "cannot write \"" + action.path + "\"");
        }
        break;
    }
    case ScriptVerb::Dump: {
        const bool written = dump_ ? dump_(action.path) : writeFallbackDump(action.path, screen_);
        if (!written) {
            fail(system, scriptErrorStatus, where + "cannot write \"" + action.path + "\"");
        }
        break;
    }
    case ScriptVerb::Size: {
        const Rect client = system.clientRect(main);
        system.inputSize(main, action.sizeKind, Size{client.width(), client.height()});
        break;
    }
    case ScriptVerb::Message: system.postMessage(main, action.number, 0, 0); break;
    case ScriptVerb::Close: system.inputClose(main); break;
    case ScriptVerb::Forms: system.postMessage(main, kFormsViewMessage, 0, 0); break;
    case ScriptVerb::Form: system.postMessage(main, kFormSelectMessage, action.number, 0); break;
    case ScriptVerb::FormClass: system.postMessage(main, kFormClassMessage, action.number, action.beatClass); break;
    case ScriptVerb::FormMove: system.postMessage(main, kFormMoveBeatMessage, action.number, 0); break;
    case ScriptVerb::Drop:
        if (!drop_) {
            fail(system, scriptErrorStatus, where + "drop: the program takes no dropped files");
            return;
        }
        drop_(action.path);
        break;
    case ScriptVerb::Choose: fail(system, scriptErrorStatus, where + "choose: no file dialog is open"); break;
    }
}

}  // namespace lumen
