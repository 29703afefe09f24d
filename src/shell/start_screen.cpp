// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/start_screen.h"

#include <algorithm>
#include <filesystem>

#include "import/other_format_record.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr const char* kClassName = "LumenStartScreen";
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
    : PlainWindow(system, kClassName, false), recent_(std::move(recent)), notice_(std::move(notice)) {}

OpenFileRequest StartScreen::fileRequest() {
    OpenFileRequest request{kDialogTitle,
                            {"*.edf", "*.EDF", "*.bdf", "*.BDF", "*.hea", "*.ecg", "*.ECG"},
                            "ECG recordings (EDF, BDF, WFDB, ISHNE)"};
    if (OtherFormatRecord::available()) {
        // The files libbiosig reads by their usual names.
        for (const char* pattern :
             {"*.scp", "*.SCP", "*.xml", "*.XML", "*.dcm", "*.DCM", "*.gdf", "*.GDF", "*.mwf", "*.MWF"})
            request.patterns.push_back(pattern);
        request.patternName = "ECG recordings (EDF, BDF, WFDB, ISHNE, SCP-ECG, HL7 aECG, DICOM, GDF, MFER)";
    }
    return request;
}

std::optional<std::string> StartScreen::run() {
    Driver& driver = system_.driver();
    driver.setDropHandler([this](const std::string& path) { choose(path); });
    runWindow();
    driver.setDropHandler(nullptr);
    return chosen_;
}

void StartScreen::opened() {
    system_.createWindow(
        WindowCreation{"button", kOpenText, WS_CHILD | WS_VISIBLE,
                       Rect{kMarginPixels, 130, kMarginPixels + kOpenButtonWidthPixels, 130 + kButtonHeightPixels},
                       window_, kOpenButtonId});
    const Rect client = system_.clientRect(window_);
    const int32_t width =
        std::min(kRecentWidthPixels, std::max(kOpenButtonWidthPixels, client.right - 2 * kMarginPixels));
    for (size_t k = 0; k < recent_.size(); ++k) {
        const int32_t top = kRecentTopPixels + static_cast<int32_t>(k) * kRecentStepPixels;
        system_.createWindow(WindowCreation{"button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                            Rect{kMarginPixels, top, kMarginPixels + width, top + kButtonHeightPixels},
                                            window_, kFirstRecentId + static_cast<uint32_t>(k)});
    }
}

void StartScreen::paint(Canvas& canvas) {
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextColor(kInkColor);
    canvas.selectFont(Font::make("Liberation Sans", 34, Font::boldWeight));
    canvas.textOut({kMarginPixels, 30}, "Lumen");
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::normalWeight));
    canvas.textOut(
        {kMarginPixels, 80},
        "Open a Holter recording (EDF, EDF+, BDF, WFDB .hea or ISHNE .ecg), or drop its file on this window.");
    if (!notice_.empty()) {
        canvas.setTextColor(kNoticeColor);
        canvas.textOut({kMarginPixels, 105}, notice_);
        canvas.setTextColor(kInkColor);
    }
    canvas.selectFont(Font::make("Liberation Sans", 17, Font::boldWeight));
    canvas.textOut({kMarginPixels, kRecentTopPixels - 28},
                   recent_.empty() ? "No recordings opened yet." : "Opened lately (keys 1 to 9):");
}

void StartScreen::choose(std::string path) {
    if (path.empty() || !isOpen()) return;
    chosen_ = std::move(path);
    close();
}

void StartScreen::askForFile() {
    ChooserAnswer answer = system_.driver().chooseFileToOpen(fileRequest());
    if (answer.outcome == ChooserOutcome::Chosen) {
        choose(std::move(answer.path));
    } else if (answer.outcome == ChooserOutcome::Unavailable) {
        notice_ = kNoDialogNotice;
        system_.invalidateRect(window_, std::nullopt, Erase::Yes);
    }
}

void StartScreen::command(uint32_t controlId) {
    if (controlId == kOpenButtonId) {
        askForFile();
    } else if (controlId >= kFirstRecentId && controlId - kFirstRecentId < recent_.size()) {
        choose(recent_[controlId - kFirstRecentId].sourcePath);
    }
}

void StartScreen::key(uint32_t virtualKey) {
    if (virtualKey == VK_RETURN || virtualKey == 'O') {
        askForFile();
    } else if (virtualKey == VK_ESCAPE) {
        close();
    } else if (virtualKey >= '1' && virtualKey <= '9') {
        command(kFirstRecentId + (virtualKey - '1'));
    }
}

void StartScreen::drawItem(const DrawItemStruct& item) {
    const size_t index = item.controlId - kFirstRecentId;
    if (item.controlId >= kFirstRecentId && index < recent_.size()) drawEntry(item, index, recent_[index]);
}

}  // namespace lumen
