// SPDX-License-Identifier: GPL-3.0-or-later
// clean_wf.exe: the clean-up program the viewer starts at exit when beat
// labels changed. It derives the recording's episodes, beat statistics and
// heart-rate table again from the corrected beats, so that the next look at
// the recording (the viewer's rows, `holter info`, a report) follows them.
//
//   clean_wf.exe [--home DIR]
//
// Without --home: the home the viewer named in its environment, else the
// current folder when it is a program home, else the program's own folder.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "assembly/home_files.h"
#include "assembly/rederivation.h"
#include "lang/program_version.h"
#include "platform/file/program_arguments.h"
#include "platform/file/utf8_path.h"
#include "platform/process/process.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace {

constexpr int kFailure = 255;
constexpr const char* kUsage = "usage: clean_wf.exe [--home DIR]\n       clean_wf.exe --version\n";

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

std::string defaultHome() {
    if (const auto named = lumen::environmentVariable(lumen::HomeFiles::kHomeVariable); named && !named->empty())
        return withSeparator(*named);
    if (std::filesystem::exists("path.tmp")) return "./";
    const std::string program = lumen::programPath();
    if (program.empty()) return "./";
    return withSeparator(lumen::utf8FromPath(lumen::pathFromUtf8(program).parent_path()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words = lumen::programArguments(argc, argv);
    std::string home;
    if (words.size() == 2 && words[0] == "--home") {
        home = withSeparator(words[1]);
    } else if (words.empty()) {
        home = defaultHome();
    } else if (words.size() == 1 && words[0] == "--version") {
        std::fputs(lumen::versionText("clean_wf.exe").c_str(), stdout);
        return 0;
    } else {
        std::fputs(kUsage, words.size() == 1 && (words[0] == "--help" || words[0] == "-h") ? stdout : stderr);
        return words.size() == 1 && (words[0] == "--help" || words[0] == "-h") ? 0 : 2;
    }
    lumen::Recording recording(home, lumen::RecordingAccess::Session);
    recording.beats().load(recording);
    lumen::TrendTable trends;
    trends.load(recording);
    const lumen::RederivationResult result = lumen::Rederivation::run(recording, trends);
    if (!result.saved) {
        const std::string note = recording.file().failureNote();
        std::fprintf(stderr, "clean_wf: the recording in %s was not brought up to date: %s\n",
                     recording.recordingDirectory().c_str(),
                     note.empty() ? (result.problem + ".").c_str() : note.c_str());
        return kFailure;
    }
    std::printf("%s: %zu episodes before, %zu after%s\n", recording.recordingDirectory().c_str(), result.episodesBefore,
                result.episodesAfter, result.changed ? "" : " (already up to date)");
    return 0;
}
