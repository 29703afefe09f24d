// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/home_swap.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <fstream>
#include <span>

#include "assembly/home_files.h"
#include "assembly/recording_sidecar.h"
#include "platform/file/durable_file.h"
#include "platform/file/regular_file.h"
#include "platform/file/scratch_path.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxRecordingPath = 299;  // what path.tmp's reader takes
constexpr size_t kForeignNamesShown = 3;
constexpr const char* kRecordingFolder = "recording";
constexpr std::array<const char*, 5> kWrittenFiles = {"huffman.ko2", "color.ini", "TBcolor.ini", "doef.mem",
                                                      "path.tmp"};
// Written by a viewer at exit, for the recording it had open.
constexpr const char* kHandOverFile = "dore.mem";
constexpr std::array<const char*, 3> kRecordingFiles = {"holter.mem", "forms.mem", RecordingSidecar::kFileName};

fs::path homePath(const std::string& directory) {
    std::error_code error;
    fs::path home = fs::absolute(pathFromUtf8(directory), error).lexically_normal();
    if (home.filename().empty()) home = home.parent_path();  // "DIR/" names DIR
    return home;
}

bool isOwnName(const std::string& name) {
    if (name == kRecordingFolder || name == kHandOverFile) return true;
    for (const char* own : kWrittenFiles)
        if (name == own) return true;
    return false;
}

// What only a home of ours holds; any one of them makes DIR a home.
bool isHome(const fs::path& home) {
    std::error_code error;
    for (const char* name : {"huffman.ko2", "path.tmp", "doef.mem"})
        if (fs::exists(home / name, error)) return true;
    return fs::exists(home / kRecordingFolder / "holter.mem", error);
}

std::vector<std::string> foreignNames(const fs::path& home) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(home, error)) {
        const std::string name = utf8FromPath(entry.path().filename());
        if (!isOwnName(name)) names.push_back(name);
    }
    return names;
}

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size() && i < kForeignNamesShown; ++i) text += (i > 0 ? ", " : "") + names[i];
    if (names.size() > kForeignNamesShown) text += ", ...";
    return text;
}

// The recording path.tmp names: its first word.
fs::path namedRecording(const fs::path& home) {
    std::ifstream in(home / "path.tmp");
    std::string word;
    in >> word;
    if (word.empty() || word.size() > kMaxRecordingPath) return {};
    return pathFromUtf8(word) / "holter.mem";
}

bool writeDurably(const fs::path& path, std::span<const uint8_t> bytes) {
    return writeWholeFile(utf8FromPath(path), bytes);
}

bool writeDurably(const fs::path& path, const std::string& text) {
    return writeDurably(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", std::gmtime(&now));
    return text;
}

fs::path unusedName(const fs::path& stem) {
    std::error_code error;
    fs::path name = stem;
    for (int n = 2; fs::exists(fs::symlink_status(name, error)); ++n) {
        name = stem;
        name += "-" + std::to_string(n);
    }
    return name;
}

}  // namespace

HomeSwap::HomeSwap(const std::string& directory) : home_(homePath(directory)) {}

HomeSwap::~HomeSwap() {
    std::error_code ignored;
    if (!scratch_.empty()) fs::remove_all(scratch_, ignored);  // our own, never swapped in
}

HomeCheck HomeSwap::refuse(HomeCheck check, std::string message) {
    problem_ = std::move(message);
    return check;
}

HomeCheck HomeSwap::prepare(bool replace, bool takeFreeFolder) {
    const std::string recording = utf8FromPath(home_ / kRecordingFolder);
    if (home_.empty() || recording.find_first_of(" \t\r\n\v\f") != std::string::npos ||
        recording.size() > kMaxRecordingPath) {
        return refuse(HomeCheck::UnusablePath, "The recording folder " + recording +
                                                   " would not fit path.tmp, which takes one word of at most 299 "
                                                   "characters; choose a shorter folder without blanks.");
    }
    std::error_code error;
    const fs::file_status status = fs::status(home_, error);
    exists_ = fs::exists(status);
    if (!exists_) return HomeCheck::Ready;
    if (!fs::is_directory(status))
        return refuse(HomeCheck::Taken,
                      utf8FromPath(home_) + " is a file, not a folder; name a folder for the program home.");
    const bool home = isHome(home_);
    const std::vector<std::string> foreign = foreignNames(home_);
    if (!home && !foreign.empty()) {
        return refuse(HomeCheck::Foreign, utf8FromPath(home_) + " is not a program home and holds other files (" +
                                              listed(foreign) +
                                              "); nothing was written. Name a new or empty folder for the home: "
                                              "--force replaces only a program home's own files.");
    }
    if (home && !replace) {
        return refuse(HomeCheck::Taken, utf8FromPath(home_) +
                                            " is a program home already; add --force to replace its recording and "
                                            "its files (other files in the folder stay).");
    }
    if (!home && !replace && !takeFreeFolder)
        return refuse(HomeCheck::Taken,
                      utf8FromPath(home_) + " exists already; add --force to make the program home in it.");
    return holdRecordings();
}

HomeCheck HomeSwap::holdRecordings() {
    for (const fs::path& recording : {home_ / kRecordingFolder / "holter.mem", namedRecording(home_)}) {
        if (recording.empty()) continue;
        switch (hold_.take(utf8FromPath(recording))) {
        case HoldResult::Held: break;
        case HoldResult::InUse:
            return refuse(HomeCheck::InUse, "The recording " + utf8FromPath(recording) +
                                                " is open in a viewer (or corrections are being saved into it); "
                                                "close the viewer first, then run this again. Nothing was written.");
        case HoldResult::Unopenable:
            return refuse(HomeCheck::InUse, "The recording " + utf8FromPath(recording) +
                                                " cannot be opened to make sure no viewer has it open; check its "
                                                "permissions. Nothing was written.");
        }
    }
    return HomeCheck::Ready;
}

std::string HomeSwap::install(const HomeContent& content) {
    std::error_code error;
    scratch_ = scratchPathIn(home_.parent_path(), utf8FromPath(home_.filename()));
    fs::remove_all(scratch_, error);
    fs::create_directories(scratch_ / kRecordingFolder, error);
    if (error || !writeScratch(content)) {
        return "Cannot write the new program home in " + utf8FromPath(scratch_) +
               (error ? " (" + error.message() + ")" : "") + "; check that " + utf8FromPath(home_.parent_path()) +
               " can be written and has room. Nothing was replaced.";
    }
    if (exists_) return swapIn();
    fs::rename(scratch_, home_, error);
    if (error) return "Cannot create " + utf8FromPath(home_) + " (" + error.message() + "); nothing was written.";
    scratch_.clear();
    syncFolderOf(utf8FromPath(home_));
    return {};
}

bool HomeSwap::writeScratch(const HomeContent& c) const {
    const fs::path recording = scratch_ / kRecordingFolder;
    return writeDurably(scratch_ / "huffman.ko2", c.codeTable) && writeDurably(scratch_ / "color.ini", c.colorIni) &&
           writeDurably(scratch_ / "TBcolor.ini", c.tbColorIni) && writeDurably(scratch_ / "doef.mem", c.doefMem) &&
           writeDurably(scratch_ / "path.tmp", HomeFiles::pathTmp(utf8FromPath(home_ / kRecordingFolder))) &&
           writeDurably(recording / "holter.mem", c.holterMem) && writeDurably(recording / "forms.mem", c.formsMem) &&
           (c.sourceNotes.empty() || writeDurably(recording / RecordingSidecar::kFileName, c.sourceNotes));
}

std::string HomeSwap::swapIn() {
    // A viewer that comes to the new recording before the home's files are
    // all in place waits for this lock.
    RecordingHold fresh;
    fresh.take(utf8FromPath(scratch_ / kRecordingFolder / "holter.mem"));
    const fs::path recording = home_ / kRecordingFolder;
    const fs::path aside = scratchPathIn(home_, kRecordingFolder);
    std::error_code error;
    const bool hadRecording = fs::exists(fs::symlink_status(recording, error));
    if (hadRecording && !moveOldRecordingAside(aside)) {
        return "Cannot move the old recording folder " + utf8FromPath(recording) +
               " aside; nothing was replaced. Check that no program has a file in it open.";
    }
    const std::vector<std::string> others = hadRecording ? moreThanARecording(aside) : std::vector<std::string>{};
    if (!others.empty())
        fs::copy_file(home_ / "huffman.ko2", aside / "huffman.ko2", fs::copy_options::skip_existing, error);
    fs::rename(scratch_ / kRecordingFolder, recording, error);
    if (error) {
        std::error_code ignored;
        if (hadRecording) fs::rename(aside, recording, ignored);
        return "Cannot put the new recording into " + utf8FromPath(recording) + " (" + error.message() +
               "); nothing was replaced.";
    }
    for (const char* name : kWrittenFiles) {
        fs::rename(scratch_ / name, home_ / name, error);
        if (error) {
            return "The program home " + utf8FromPath(home_) + " is incomplete: " + name + " could not be replaced (" +
                   error.message() + "); run the command again with --force.";
        }
    }
    fs::remove(home_ / kHandOverFile, error);  // said the old recording was corrected
    syncFolderOf(utf8FromPath(home_ / "path.tmp"));
    fs::remove(scratch_, error);
    scratch_.clear();
    // The swap is done: a system that deletes no open file may now remove
    // the old one.
    hold_.releaseAll();
    if (hadRecording) disposeOf(aside, others);
    return {};
}

bool HomeSwap::moveOldRecordingAside(const fs::path& aside) {
    std::error_code error;
    fs::rename(home_ / kRecordingFolder, aside, error);
    if (!error) return true;
    // Some systems move no folder with an open file in it: without our own
    // locks on it, a viewer's open file still stops the move.
    hold_.releaseAll();
    fs::rename(home_ / kRecordingFolder, aside, error);
    return !error;
}

std::vector<std::string> HomeSwap::moreThanARecording(const fs::path& folder) const {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error))) return {utf8FromPath(folder.filename())};
    std::vector<std::string> others;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = utf8FromPath(entry.path().filename());
        const bool recordingFile =
            std::find(kRecordingFiles.begin(), kRecordingFiles.end(), name) != kRecordingFiles.end() &&
            fs::is_regular_file(entry.symlink_status(error));
        if (!recordingFile) others.push_back(name);
    }
    return others;
}

void HomeSwap::disposeOf(const fs::path& aside, const std::vector<std::string>& others) {
    std::error_code error;
    if (others.empty()) {
        for (const char* name : kRecordingFiles) fs::remove(aside / name, error);
        if (fs::remove(aside, error)) return;  // only ever an empty folder
    }
    const fs::path kept = unusedName(home_ / ("recording.replaced-" + timeStamp()));
    fs::rename(aside, kept, error);
    notes_.push_back("The old recording folder held more than its recording (" + listed(others) + "); it was kept as " +
                     utf8FromPath(error ? aside : kept) +
                     " with the old code table, for `holter info --home FOLDER FOLDER`; delete it when it is not "
                     "needed.");
}

}  // namespace lumen
