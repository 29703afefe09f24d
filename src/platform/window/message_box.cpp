// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <vector>

#include "platform/draw/raster_canvas.h"
#include "platform/window/push_button_face.h"
#include "platform/window/window_system.h"
#include "platform/window/window_system_impl.h"

namespace lumen {

namespace {

constexpr std::string_view boxClass = "#32770";
constexpr std::string_view boxProperty = "lumen.messagebox";
constexpr int32_t captionHeight = 22;
constexpr int32_t margin = 14;
constexpr int32_t iconSize = 32;
constexpr int32_t buttonWidth = 80;
constexpr int32_t buttonHeight = 26;
constexpr int32_t lineHeight = 18;

Font textFont() { return Font::make("Liberation Sans", 16, Font::normalWeight); }
Font captionFont() { return Font::make("Liberation Sans", 15, Font::boldWeight); }

}  // namespace

struct MessageBoxRecord {
    struct Button {
        Rect rect;
        int32_t answer = IDOK;
        std::string_view label;
    };
    MessageBoxInfo info;
    std::vector<std::string> lines;
    std::vector<Button> buttons;
    Rect iconRect;
    Rect textRect;
    int32_t result = 0;
    int32_t pressed = -1;

    bool isYesNo() const { return (info.flags & MB_TYPEMASK) == MB_YESNO; }
    int32_t escapeAnswer() const { return isYesNo() ? 0 : IDOK; }
    int32_t safeAnswer() const { return isYesNo() ? IDNO : IDOK; }
    int32_t hit(Point p) const {
        for (size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i].rect.contains(p)) {
                return static_cast<int32_t>(i);
            }
        }
        return -1;
    }
};

namespace {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Lays the box out around its text; returns the box's size.
Size layOut(MessageBoxRecord& box, Size screen) {
    RasterCanvas measure(Size{1, 1});
    measure.selectFont(textFont());
    int32_t textWidth = 0;
    for (const std::string& line : box.lines) {
        textWidth = std::max(textWidth, measure.textExtent(line).width);
    }
    measure.selectFont(captionFont());
    const int32_t captionWidth = measure.textExtent(box.info.caption).width + 2 * margin;
    const bool hasIcon = (box.info.flags & MB_ICONMASK) != 0;
    const int32_t iconSpace = hasIcon ? iconSize + margin : 0;
    const int32_t count = box.isYesNo() ? 2 : 1;
    const int32_t buttonsWidth = count * buttonWidth + (count - 1) * margin;
    const int32_t textHeight = std::max(static_cast<int32_t>(box.lines.size()) * lineHeight, hasIcon ? iconSize : 0);
    int32_t width = std::max({textWidth + iconSpace + 2 * margin, buttonsWidth + 2 * margin, captionWidth, 240});
    width = std::min(width, std::max(screen.width - 20, 120));
    const int32_t height = captionHeight + margin + textHeight + margin + buttonHeight + margin;
    box.iconRect = Rect{margin, captionHeight + margin, margin + iconSize, captionHeight + margin + iconSize};
    box.textRect =
        Rect{margin + iconSpace, captionHeight + margin, width - margin, captionHeight + margin + textHeight};
    const int32_t top = height - margin - buttonHeight;
    int32_t left = (width - buttonsWidth) / 2;
    const std::vector<std::pair<int32_t, std::string_view>> answers =
        box.isYesNo() ? std::vector<std::pair<int32_t, std::string_view>>{{IDYES, "Yes"}, {IDNO, "No"}}
                      : std::vector<std::pair<int32_t, std::string_view>>{{IDOK, "OK"}};
    for (const auto& [answer, label] : answers) {
        box.buttons.push_back({Rect{left, top, left + buttonWidth, top + buttonHeight}, answer, label});
        left += buttonWidth + margin;
    }
    return Size{width, height};
}

void drawIcon(Canvas& canvas, const Rect& rect, uint32_t flags) {
    const uint32_t icon = flags & MB_ICONMASK;
    if (icon == 0) {
        return;
    }
    const bool warning = icon == MB_ICONEXCLAMATION;
    const Color fill = icon == MB_ICONERROR ? rgb(200, 0, 0) : warning ? rgb(240, 200, 0) : rgb(0, 0, 160);
    const std::string_view sign = icon == MB_ICONERROR ? "X" : icon == MB_ICONQUESTION ? "?" : warning ? "!" : "i";
    canvas.selectPen(Pen::black());
    canvas.selectBrush(Brush::solid(fill));
    canvas.rectangle(rect);
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextColor(warning ? blackColor : whiteColor);
    canvas.selectFont(Font::make("Liberation Sans", 26, Font::boldWeight));
    canvas.drawText(rect, sign, DrawTextFormat::Center | DrawTextFormat::VerticalCenter | DrawTextFormat::SingleLine);
}

void paintBox(WindowSystem& system, WindowHandle window, const MessageBoxRecord& box) {
    PaintStruct paint;
    Canvas* canvas = system.beginPaint(window, paint);
    if (canvas != nullptr) {
        const Rect client = system.clientRect(window);
        canvas->fillRect(client, Brush::lightGrey());
        canvas->selectPen(Pen::black());
        canvas->selectBrush(Brush::null());
        canvas->rectangle(client);
        canvas->fillRect(Rect{1, 1, client.right - 1, captionHeight}, Brush::solid(rgb(0, 0, 128)));
        canvas->setBkMode(BackgroundMode::Transparent);
        canvas->setTextColor(whiteColor);
        canvas->selectFont(captionFont());
        canvas->drawText(Rect{6, 1, client.right - 6, captionHeight}, box.info.caption,
                         DrawTextFormat::VerticalCenter | DrawTextFormat::SingleLine);
        drawIcon(*canvas, box.iconRect, box.info.flags);
        canvas->setTextColor(blackColor);
        canvas->selectFont(textFont());
        int32_t top = box.textRect.top;
        for (const std::string& line : box.lines) {
            canvas->textOut(Point{box.textRect.left, top}, line);
            top += lineHeight;
        }
        for (size_t i = 0; i < box.buttons.size(); ++i) {
            const bool down = static_cast<int32_t>(i) == box.pressed;
            drawPushButtonFace(*canvas, box.buttons[i].rect, box.buttons[i].label,
                               down ? ButtonFace::Pressed : ButtonFace::Raised);
        }
    }
    system.endPaint(window, paint);
}

int32_t keyAnswer(const MessageBoxRecord& box, uint32_t key) {
    if (key == VK_RETURN) {
        return box.buttons.front().answer;
    }
    if (box.isYesNo()) {
        return key == 'Y' ? IDYES : key == 'N' ? IDNO : 0;
    }
    return key == VK_ESCAPE ? IDOK : 0;
}

LResult boxProc(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    auto* box = static_cast<MessageBoxRecord*>(system.getProp(window, boxProperty));
    if (box == nullptr) {
        return system.defWindowProc(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT: paintBox(system, window, *box); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        box->pressed = box->hit(pointFromLParam(lParam));
        if (box->pressed >= 0) {
            system.setCapture(window);
            system.invalidateRect(window, std::nullopt, Erase::No);
        }
        return 0;
    case WM_LBUTTONUP: {
        const int32_t pressed = std::exchange(box->pressed, -1);
        if (system.capture() == window) {
            system.releaseCapture();
        }
        if (pressed >= 0 && box->hit(pointFromLParam(lParam)) == pressed) {
            box->result = box->buttons[static_cast<size_t>(pressed)].answer;
        }
        system.invalidateRect(window, std::nullopt, Erase::No);
        return 0;
    }
    case WM_KEYDOWN: box->result = keyAnswer(*box, static_cast<uint32_t>(wParam)); return 0;
    case WM_CLOSE: box->result = box->escapeAnswer(); return 0;
    default: return system.defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

void registerMessageBoxClass(WindowSystem& system) {
    WindowClass box;
    box.name = std::string(boxClass);
    box.procedure = &boxProc;
    box.cursor = system.loadCursor(IDC_ARROW);
    system.registerClass(box);
}

int32_t WindowSystem::messageBox(WindowHandle owner, std::string_view text, std::string_view caption, uint32_t flags) {
    MessageBoxRecord box;
    box.info = MessageBoxInfo{std::string(caption), std::string(text), flags};
    if (impl_->boxesAnswerThemselves || displayLost()) {
        return box.safeAnswer();
    }
    box.lines = splitLines(text);
    const Size size = layOut(box, impl_->screen);
    const WindowHandle ownerTop = impl_->topLevelOf(owner);
    const WindowRecord* ownerRecord = impl_->find(ownerTop);
    const Rect around = ownerRecord != nullptr ? impl_->screenRect(*ownerRecord)
                                               : Rect{0, 0, impl_->screen.width, impl_->screen.height};
    const int32_t left = std::max(around.left + (around.width() - size.width) / 2, 0);
    const int32_t top = std::max(around.top + (around.height() - size.height) / 2, 0);
    const WindowHandle window = createWindow(WindowCreation{
        boxClass, caption, WS_POPUP, Rect{left, top, left + size.width, top + size.height}, ownerTop, 0});
    if (!window) {
        return 0;
    }
    setProp(window, boxProperty, &box);
    const bool ownerWasEnabled = ownerRecord != nullptr && ownerRecord->enabled;
    if (ownerWasEnabled) {
        enableWindow(ownerTop, false);
    }
    impl_->boxes.push_back(&box);
    impl_->driver.messageBoxOpened(box.info);
    showWindow(window, ShowCommand::Normal);
    const WindowHandle previousFocus = setFocus(window);
    Message message;
    while (box.result == 0) {
        if (!getMessage(message)) {
            postQuitMessage(quitCode());  // the outer loop must see the quit too
            box.result = box.safeAnswer();
            break;
        }
        translateMessage(message);
        dispatchMessage(message);
    }
    std::erase(impl_->boxes, &box);
    if (ownerWasEnabled) {
        enableWindow(ownerTop, true);
    }
    removeProp(window, boxProperty);
    destroyWindow(window);
    if (isWindow(previousFocus)) {
        setFocus(previousFocus);
    }
    return box.result;
}

std::optional<MessageBoxInfo> WindowSystem::openMessageBox() const {
    if (impl_->boxes.empty()) {
        return std::nullopt;
    }
    return impl_->boxes.back()->info;
}

bool WindowSystem::answerMessageBox(int32_t answer) {
    if (impl_->boxes.empty()) {
        return false;
    }
    MessageBoxRecord& box = *impl_->boxes.back();
    for (const auto& button : box.buttons) {
        if (button.answer == answer) {
            box.result = answer;
            postMessage(WindowHandle{}, WM_NULL, 0, 0);  // wakes the box's loop
            return true;
        }
    }
    return false;
}

void WindowSystem::answerMessageBoxesForExit() {
    impl_->boxesAnswerThemselves = true;
    for (MessageBoxRecord* box : impl_->boxes) {
        box->result = box->safeAnswer();
    }
    if (!impl_->boxes.empty()) {
        postMessage(WindowHandle{}, WM_NULL, 0, 0);  // wakes the innermost box's loop
    }
}

bool WindowSystem::displayLost() const { return impl_->driver.displayLost(); }

}  // namespace lumen
