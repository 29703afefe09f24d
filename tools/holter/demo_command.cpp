#include "holter/demo_command.h"

#include <cstdio>
#include <filesystem>

#include "demo/demo_home.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

bool readNumber(const ToolArguments& arguments, std::string_view name, long& value) {
    const auto text = arguments.option(name);
    if (!text) return true;
    const auto number = parseInteger(*text);
    if (!number) return false;
    value = *number;
    return true;
}

// Any of the files a home is made of, or a recording folder, makes one.
bool isProgramHome(const std::string& directory) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path home = pathFromUtf8(directory);
    for (const char* name : {"huffman.ko2", "path.tmp", "doef.mem", "recording/holter.mem"}) {
        if (fs::exists(home / name, error)) return true;
    }
    return false;
}

}  // namespace

int runDemo(const ToolArguments& arguments) {
    if (arguments.positional.size() != 1) return 2;
    long hours = 24;
    long seed = 1;
    long language = 2;
    if (!readNumber(arguments, "--hours", hours) || !readNumber(arguments, "--seed", seed) ||
        !readNumber(arguments, "--language", language) || seed < 0 || seed > UINT32_MAX) {
        return 2;
    }
    DemoOptions options;
    options.directory = arguments.positional[0];
    if (isProgramHome(options.directory) && !arguments.flag("--force")) {
        std::fprintf(stderr, "%s is a program home already; add --force to write a new demo over it\n",
                     options.directory.c_str());
        return 255;
    }
    options.hours = static_cast<int>(hours);
    options.seed = static_cast<uint32_t>(seed);
    options.language = static_cast<int>(language);
    const DemoResult result = writeDemoHome(options);
    switch (result.status) {
    case DemoStatus::Ok: std::printf("%s\n", result.summary.c_str()); return 0;
    case DemoStatus::InvalidHours:
    case DemoStatus::InvalidLanguage: std::fprintf(stderr, "%s\n", result.summary.c_str()); return 2;
    default: std::fprintf(stderr, "%s\n", result.summary.c_str()); return 255;
    }
}

}  // namespace lumen
