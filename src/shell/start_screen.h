// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cache/recent_recordings.h"
#include "shell/plain_window.h"

namespace lumen {

// What `lumen` shows with neither a program home nor a file: the
// recordings opened lately and a way to open another, by the system's file
// dialog or by dropping a file on the window. Ends with the file to open,
// or nothing when the user closes it.
class StartScreen final : public PlainWindow {
public:
    static constexpr uint32_t kOpenButtonId = 1;
    static constexpr uint32_t kFirstRecentId = 100;
    static constexpr const char* kCaption = "Lumen";
    static constexpr const char* kOpenText = "Open a recording...";
    static constexpr const char* kDialogTitle = "Open a Holter recording";
    static constexpr const char* kNoDialogNotice =
        "No file dialog could be shown (no desktop portal, zenity or kdialog): drop the file on this window, "
        "or give it to lumen on the command line.";

    StartScreen(WindowSystem& system, std::vector<RecentRecordings::Entry> recent, std::string notice);

    std::optional<std::string> run();

    // The file dialog's offer: every format the import reads.
    static OpenFileRequest fileRequest();

private:
    void opened() override;
    void paint(Canvas& canvas) override;
    void command(uint32_t controlId) override;
    void key(uint32_t virtualKey) override;
    void drawItem(const DrawItemStruct& item) override;
    void choose(std::string path);
    void askForFile();

    std::vector<RecentRecordings::Entry> recent_;
    std::string notice_;  // what went wrong with the last file, shown until the next choice
    std::optional<std::string> chosen_;
};

}  // namespace lumen
