#include "shell/start_screen.h"

#include <algorithm>
#include <filesystem>

#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr const char* kClassName = "LumenStartScreen";
constexpr const char* kSelfProperty = "lumen.startScreen";
constexpr int32_t kMarginPixels = 40;
constexpr int32_t kButtonHeightPixels = 30;
constexpr int32_t kOpenButtonWidthPixels = 240;
constexpr int32_t kRecentTopPixels = 210;
constexpr int32_t kRecentStepPixels = 36;
constexpr int32_t kRecentWidthPixels = 720;
constexpr Color kInkColor = rgb(32, 32, 32);
constexpr Color kNoticeColor = rgb(176, 0, 0);

constexpr Color kEntryColor = rgb(236, 241, 247);
constexpr Color kEntryPressedColor = rgb(200, 214, 232);
constexpr Color kFolderColor = rgb(96, 96, 96);
constexpr int32_t kEntryTextIndentPixels = 12;

// A recent recording as a row: its number key, the file's name in bold,
// its folder after it in grey.
void drawEntry(const DrawItemStruct& item, size_t index, const RecentRecordings::Entry& entry) {
    Canvas& canvas = *item.canvas;
    const Rect& r = item.itemRect;
    canvas.fillRect(r, Brush::solid((item.itemState & ODS_SELECTED) != 0 ? kEntryPressedColor : kEntryColor));
    canvas.setBkMode(BackgroundMode::Transparent);
    const std::filesystem::path path = pathFromUtf8(entry.sourcePath);
    const std::string name =
        (index < 9 ? std::to_string(index + 1) + "   " : std::string("    ")) + utf8FromPath(path.filename());
    canvas.selectFont(Font::make("Liberation Sans", 16, Font::boldWeight));
    canvas.setTextColor(kInkColor);
    const Size nameSize = canvas.textExtent(name);
    const int32_t baseline = r.top + (r.bottom - r.top - nameSize.height) / 2;
    canvas.textOut({r.left + kEntryTextIndentPixels, baseline}, name);
    canvas.selectFont(Font::make("Liberation Sans", 16, Font::normalWeight));
    canvas.setTextColor(kFolderColor);
    canvas.textOut({r.left + 2 * kEntryTextIndentPixels + nameSize.width, baseline}, utf8FromPath(path.parent_path()));
    canvas.selectFont(Font::system());
}

}  // namespace

StartScreen::StartScreen(WindowSystem& system, std::vector<RecentRecordings::Entry> recent, std::string notice)
    : system_(system), recent_(std::move(recent)), notice_(std::move(notice)) {}

OpenFileRequest StartScreen::fileRequest() {
    return {kDialogTitle, {"*.edf", "*.EDF", "*.bdf", "*.BDF", "*.hea", "*.ecg", "*.ECG"},
            "ECG recordings (EDF, BDF, WFDB, ISHNE)"};
}

std::optional<std::string> StartScreen::run() {
    system_.registerClass(WindowClass{kClassName, &procedure, CS_HREDRAW | CS_VREDRAW, Brush::white(),
                                      system_.loadCursor(IDC_ARROW)});
    window_ = system_.createWindow(WindowCreation{kClassName, kCaption, WS_OVERLAPPEDWINDOW,
                                                  Rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT},
                                                  {}, 0});
    system_.setProp(window_, kSelfProperty, this);
    system_.showWindow(window_, ShowCommand::Maximized);
    createControls();
    system_.updateWindow(window_);
    system_.setFocus(window_);
    Driver& driver = system_.driver();
    driver.setDropHandler([this](const std::string& path) { choose(path); });
    system_.runMessageLoop();
    driver.setDropHandler(nullptr);
    return chosen_;
}

void StartScreen::createControls() {
    system_.createWindow(WindowCreation{"button", kOpenText, WS_CHILD | WS_VISIBLE,
                                        Rect{kMarginPixels, 130, kMarginPixels + kOpenButtonWidthPixels,
                                             130 + kButtonHeightPixels},
                                        window_, kOpenButtonId});
    const Rect client = system_.clientRect(window_);
    const int32_t width = std::min(kRecentWidthPixels, std::max(kOpenButtonWidthPixels, client.right - 2 * kMarginPixels));
    for (size_t k = 0; k < recent_.size(); ++k) {
        const int32_t top = kRecentTopPixels + static_cast<int32_t>(k) * kRecentStepPixels;
        system_.createWindow(WindowCreation{"button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                            Rect{kMarginPixels, top, kMarginPixels + width, top + kButtonHeightPixels},
                                            window_, kFirstRecentId + static_cast<uint32_t>(k)});
    }
}

void StartScreen::paint(Canvas& canvas) const {
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextColor(kInkColor);
    canvas.selectFont(Font::make("Liberation Sans", 34, Font::boldWeight));
    canvas.textOut({kMarginPixels, 30}, "Lumen");
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::normalWeight));
    canvas.textOut({kMarginPixels, 80},
                   "Open a Holter recording (EDF, EDF+, BDF, WFDB .hea or ISHNE .ecg), or drop its file on this window.");
    if (!notice_.empty()) {
        canvas.setTextColor(kNoticeColor);
        canvas.textOut({kMarginPixels, 105}, notice_);
        canvas.setTextColor(kInkColor);
    }
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::boldWeight));
    canvas.textOut({kMarginPixels, kRecentTopPixels - 28},
                   recent_.empty() ? "No recordings opened yet." : "Opened lately (keys 1 to 9):");
    canvas.selectFont(Font::system());
}

void StartScreen::choose(std::string path) {
    if (path.empty() || !system_.isWindow(window_)) return;
    chosen_ = std::move(path);
    system_.destroyWindow(window_);
}

void StartScreen::askForFile() {
    if (auto path = system_.driver().chooseFileToOpen(fileRequest())) choose(std::move(*path));
}

void StartScreen::command(uint32_t controlId) {
    if (controlId == kOpenButtonId) {
        askForFile();
    } else if (controlId >= kFirstRecentId && controlId - kFirstRecentId < recent_.size()) {
        choose(recent_[controlId - kFirstRecentId].sourcePath);
    }
    if (system_.isWindow(window_)) system_.setFocus(window_);
}

void StartScreen::key(uint32_t virtualKey) {
    if (virtualKey == VK_RETURN || virtualKey == 'O') {
        askForFile();
    } else if (virtualKey == VK_ESCAPE) {
        system_.destroyWindow(window_);
    } else if (virtualKey >= '1' && virtualKey <= '9') {
        command(kFirstRecentId + (virtualKey - '1'));
    }
}

LResult StartScreen::procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                               LParam lParam) {
    auto* self = static_cast<StartScreen*>(system.getProp(window, kSelfProperty));
    switch (message) {
    case WM_PAINT: {
        PaintStruct paint;
        Canvas* canvas = system.beginPaint(window, paint);
        if (canvas != nullptr && self != nullptr) self->paint(*canvas);
        system.endPaint(window, paint);
        return 0;
    }
    case WM_COMMAND:
        if (self != nullptr && (wParam >> 16) == BN_CLICKED) self->command(static_cast<uint32_t>(wParam & 0xFFFF));
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DrawItemStruct*>(lParam);
        const size_t index = item->controlId - kFirstRecentId;
        if (self != nullptr && item->controlId >= kFirstRecentId && index < self->recent_.size())
            drawEntry(*item, index, self->recent_[index]);
        return 1;
    }
    case WM_KEYDOWN:
        if (self != nullptr) self->key(static_cast<uint32_t>(wParam));
        return 0;
    case WM_DESTROY:
        system.removeProp(window, kSelfProperty);
        system.postQuitMessage(0);
        return 0;
    default:
        return system.defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace lumen
