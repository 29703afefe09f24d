// The viewer program: lumen [--home DIR] [--headless WxH] [--script FILE]
// [--print-to FILE.pdf] [--paper a4|letter] [PRINTER]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file/folder_path.h"
#include "platform/file/program_arguments.h"
#include "platform/file/utf8_path.h"
#include "platform/process/process.h"
#include "platform/window/driver_registry.h"
#include "platform/window/launch_options.h"
#include "platform/window/window_system.h"
#include "shell/viewer.h"

namespace {

constexpr int kUsageStatus = 2;

constexpr const char* kUsage =
    "usage: lumen [--home DIR] [--headless WxH] [--script FILE] [--print-to FILE.pdf] [--paper a4|letter] [PRINTER | RECORDING]\n"
    "  --home DIR          the program home (default: the folder of the program)\n"
    "  --headless WxH      run without a display on a WxH screen (e.g. 1024x768)\n"
    "  --script FILE       input actions to run headless (key, click, button, shot, dump, ...)\n"
    "  --print-to FILE.pdf print the report into a PDF file instead of a printer\n"
    "  --paper a4|letter   the paper size of the report\n"
    "  PRINTER             the index of the printer to print on (default 0, the first)\n"
    "  RECORDING           a recording file (.edf, .bdf, .hea, .ecg) to import and open; not with --home\n"
    "  --help              print this and exit\n";

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

// The driver comes from the build's list (headless for --headless, else the
// first display driver that opens); the viewer does not know which it got.
int runViewer(const lumen::LaunchOptions& options, const lumen::ViewerStart& start) {
    std::string failure;
    int failureStatus = 0;
    std::unique_ptr<lumen::Driver> driver = lumen::openDriver(options, failure, failureStatus);
    if (!driver) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return failureStatus;
    }
    lumen::WindowSystem system(*driver);
    lumen::Viewer viewer(system, explainingProgramHome(options, start.programDirectory,
                                                       [&driver] { return driver->mayOpenMessageBox(); }));
    driver->setDumpHandler([&viewer](const std::string& path) { return viewer.writeDump(path); });
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
    if (options.error) {
        std::fprintf(stderr, "lumen: %s\n%s", options.error->c_str(), kUsage);
        return kUsageStatus;
    }
    const lumen::ViewerStart start = startOf(options);
    return runViewer(options, start);
}
