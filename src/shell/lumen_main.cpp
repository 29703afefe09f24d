// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer program: lumen [--home DIR] [--headless WxH] [--script FILE]
// [--print-to FILE.pdf] [--paper a4|letter] [PRINTER | RECORDING]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/program_version.h"
#include "platform/file/folder_path.h"
#include "platform/file/program_arguments.h"
#include "platform/file/utf8_path.h"
#include "platform/process/process.h"
#include "platform/window/driver_registry.h"
#include "platform/window/launch_options.h"
#include "platform/window/window_system.h"
#include "shell/recording_opening.h"
#include "shell/start_screen.h"
#include "shell/viewer.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kOpenFailureStatus = 255;

constexpr const char* kUsage =
    "usage: lumen [--home DIR] [--headless WxH] [--script FILE] [--print-to FILE.pdf] [--paper a4|letter] [PRINTER]\n"
    "       lumen [--headless WxH] [--script FILE] RECORDING\n"
    "  --home DIR          the program home (default: the folder of the program)\n"
    "  --headless WxH      run without a display on a WxH screen (e.g. 1024x768)\n"
    "  --script FILE       input actions to run headless (key, click, button, shot, dump, ...)\n"
    "  --print-to FILE.pdf print the report into a PDF file instead of a printer\n"
    "  --paper a4|letter   the paper size of the report\n"
    "  PRINTER             the index of the printer to print on (default 0, the first)\n"
    "  RECORDING           an EDF, BDF, WFDB (.hea) or ISHNE (.ecg) file: opened in a home of its own in\n"
    "                      the cache folder; without a home or a file, a start screen offers the recent ones\n"
    "  --help              print this and exit\n"
    "  --version           print the version and licence and exit\n";

// Without --home the program's own folder is the home; when that is not one,
// the missing code table's message alone leaves a newcomer guessing. The note
// follows the first fatal message, just before its box would open.
lumen::ProgramExit::BoxPolicy explainingProgramHome(const lumen::LaunchOptions& options, const std::string& directory,
                                                    lumen::ProgramExit::BoxPolicy policy) {
    if (options.home || std::filesystem::exists(lumen::pathFromUtf8(directory + "huffman.ko2"))) return policy;
    return [directory, policy, explained = false]() mutable {
        if (!explained) {
            explained = true;
            std::fprintf(stderr,
                         "lumen: %s is not a program home (a folder with path.tmp, huffman.ko2, color.ini and a "
                         "recording); write one with `holter demo DIR` and open it with `lumen --home DIR`\n",
                         directory.c_str());
        }
        return !policy || policy();
    };
}

lumen::ViewerStart startOf(const lumen::LaunchOptions& options) {
    lumen::ViewerStart start;
    start.programFile = lumen::programPath();
    start.programDirectory =
        options.home
            ? lumen::withFolderSeparator(*options.home)
            : lumen::withFolderSeparator(lumen::utf8FromPath(lumen::pathFromUtf8(start.programFile).parent_path()));
    start.printerIndex = options.printerIndex;
    start.printTo = options.printTo.value_or("");
    start.paper = options.paper;
    return start;
}

bool isProgramHome(const std::string& directory) {
    std::error_code error;
    return std::filesystem::exists(lumen::pathFromUtf8(directory + "huffman.ko2"), error) ||
           std::filesystem::exists(lumen::pathFromUtf8(directory + "path.tmp"), error);
}

// A file dropped on a viewer of an opened file opens in a viewer of its
// own, and this one closes through its normal exit, saving what it holds.
void openInNewViewer(const lumen::LaunchOptions& options, const std::string& file) {
    std::vector<std::string> arguments;
    if (options.headlessScreen)
        arguments = {"--headless", std::to_string(options.headlessScreen->width) + "x" +
                                       std::to_string(options.headlessScreen->height)};
    arguments.push_back(file);
    if (!lumen::startProgram(lumen::programPath(), arguments))
        std::fprintf(stderr, "lumen: %s could not be opened in a new viewer\n", file.c_str());
}

// The home of a recording file: the file of the command line, or one the
// user picks on the start screen (which shows what went wrong with the last
// pick). Nothing when the user closes the start screen or the file of the
// command line cannot be opened (`failed` then).
std::optional<std::string> homeOfFile(lumen::WindowSystem& system, const lumen::LaunchOptions& options, bool& failed) {
    lumen::RecordingOpening opening(system, !options.isHeadless());
    if (options.recordingFile) {
        if (auto home = opening.open(*options.recordingFile)) return home;
        std::fprintf(stderr, "%s\n", opening.problem().c_str());
        if (system.driver().mayOpenMessageBox())
            system.messageBox({}, opening.problem(), lumen::StartScreen::kCaption, MB_OK | MB_ICONERROR);
        failed = true;
        return std::nullopt;
    }
    std::string notice;
    for (;;) {
        const auto file = lumen::StartScreen(system, opening.recent(), notice).run();
        if (!file) return std::nullopt;
        if (auto home = opening.open(*file)) return home;
        notice = opening.problem();
        std::fprintf(stderr, "%s\n", notice.c_str());
    }
}

// The driver comes from the build's list (headless for --headless, else the
// first display driver that opens); the viewer does not know which it got.
int runViewer(const lumen::LaunchOptions& options, lumen::ViewerStart start) {
    std::string failure;
    int failureStatus = 0;
    std::unique_ptr<lumen::Driver> driver = lumen::openDriver(options, failure, failureStatus);
    if (!driver) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return failureStatus;
    }
    lumen::WindowSystem system(*driver);
    const bool fromFile = options.recordingFile || (!options.home && !isProgramHome(start.programDirectory));
    if (fromFile) {
        bool failed = false;
        const auto home = homeOfFile(system, options, failed);
        if (!home) return failed ? kOpenFailureStatus : 0;
        start.programDirectory = lumen::withFolderSeparator(*home);
    }
    lumen::Viewer viewer(system, explainingProgramHome(options, start.programDirectory,
                                                       [&driver] { return driver->mayOpenMessageBox(); }));
    driver->setDumpHandler([&viewer](const std::string& path) { return viewer.writeDump(path); });
    if (fromFile) {
        driver->setDropHandler([&options, &viewer](const std::string& file) {
            openInNewViewer(options, file);
            viewer.requestExit();
        });
    }
    return viewer.run(start);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> texts = lumen::programArguments(argc, argv);
    const std::vector<std::string_view> arguments(texts.begin(), texts.end());
    const lumen::LaunchOptions options = lumen::LaunchOptions::parse(arguments);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(lumen::versionText("lumen").c_str(), stdout);
        return 0;
    }
    if (options.error) {
        std::fprintf(stderr, "lumen: %s\n%s", options.error->c_str(), kUsage);
        return kUsageStatus;
    }
    const lumen::ViewerStart start = startOf(options);
    return runViewer(options, start);
}
