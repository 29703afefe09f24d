// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "assembly/home_content.h"
#include "assembly/recording_hold.h"
#include "platform/file/utf8_path.h"

namespace lumen {

enum class HomeCheck {
    Ready,
    UnusablePath,  // a blank in the recording path, or longer than path.tmp allows
    Taken,         // a program home or a folder already, and not to be replaced
    Foreign,       // a folder of other files: never a home's to replace
    InUse,         // a viewer has one of its recordings open
};

// Makes DIR a program home without ever leaving half of one and without
// touching what is not the home's own. The new home is written into a
// scratch folder beside DIR (same parent, so every move is a rename on one
// file system) and then swapped in: a new DIR by one rename; an existing
// home by renaming its recording folder and each of its files, leaving
// every other file and folder in DIR as it was. From the check to the end
// of the swap the session locks of DIR's recordings are held, so no viewer
// has or opens them meanwhile.
//
// The old recording folder is removed when it holds only holter.mem and
// forms.mem. Anything more, a journal above all (a session that ended
// without closing, perhaps with a save cut short), keeps the whole folder,
// with a copy of the old code table, as DIR/recording.replaced-TIME.
class HomeSwap {
public:
    explicit HomeSwap(const std::string& directory);
    ~HomeSwap();
    HomeSwap(const HomeSwap&) = delete;
    HomeSwap& operator=(const HomeSwap&) = delete;

    // Whether the home may be written: DIR is new, a program home (with
    // `replace`), or a folder holding nothing of anyone's (when
    // `takeFreeFolder`, else with `replace`). problem() says why not.
    HomeCheck prepare(bool replace, bool takeFreeFolder);
    const std::string& problem() const { return problem_; }
    std::string home() const { return utf8FromPath(home_); }

    // Writes the home and swaps it in; returns "" or what went wrong.
    std::string install(const HomeContent& content);
    // What the swap did besides: a recording folder kept, for instance.
    const std::vector<std::string>& notes() const { return notes_; }

private:
    HomeCheck refuse(HomeCheck check, std::string message);
    HomeCheck holdRecordings();
    bool writeScratch(const HomeContent& content) const;
    std::string swapIn();
    bool moveOldRecordingAside(const std::filesystem::path& aside);
    std::vector<std::string> moreThanARecording(const std::filesystem::path& folder) const;
    void disposeOf(const std::filesystem::path& aside, const std::vector<std::string>& others);

    std::filesystem::path home_;
    std::filesystem::path scratch_;
    bool exists_ = false;
    RecordingHold hold_;
    std::string problem_;
    std::vector<std::string> notes_;
};

}  // namespace lumen
