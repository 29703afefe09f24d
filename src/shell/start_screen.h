#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cache/recent_recordings.h"
#include "platform/window/window_system.h"

namespace lumen {

// What `lumen` shows with neither a program home nor a file: the
// recordings opened lately and a way to open another, by the system's file
// dialog or by dropping a file on the window. Ends with the file to open,
// or nothing when the user closes it.
class StartScreen {
public:
    static constexpr uint32_t kOpenButtonId = 1;
    static constexpr uint32_t kFirstRecentId = 100;
    static constexpr const char* kCaption = "Lumen";
    static constexpr const char* kOpenText = "Open a recording...";
    static constexpr const char* kDialogTitle = "Open a Holter recording";

    StartScreen(WindowSystem& system, std::vector<RecentRecordings::Entry> recent, std::string notice);

    std::optional<std::string> run();

    // The file dialog's offer: every format the import reads.
    static OpenFileRequest fileRequest();

private:
    static LResult procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                             LParam lParam);
    void createControls();
    void paint(Canvas& canvas) const;
    void choose(std::string path);
    void askForFile();
    void command(uint32_t controlId);
    void key(uint32_t virtualKey);

    WindowSystem& system_;
    std::vector<RecentRecordings::Entry> recent_;
    std::string notice_;  // what went wrong with the last file, shown until the next choice
    WindowHandle window_;
    std::optional<std::string> chosen_;
};

}  // namespace lumen
