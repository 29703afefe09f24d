// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/demo_command.h"

#include <cstdio>

#include "demo/demo_home.h"

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
    options.replace = arguments.flag("--force");
    options.hours = static_cast<int>(hours);
    options.seed = static_cast<uint32_t>(seed);
    options.language = static_cast<int>(language);
    const DemoResult result = writeDemoHome(options);
    for (const std::string& note : result.notes) std::fprintf(stderr, "%s\n", note.c_str());
    switch (result.status) {
    case DemoStatus::Ok: std::printf("%s\n", result.summary.c_str()); return 0;
    case DemoStatus::InvalidHours:
    case DemoStatus::InvalidLanguage: std::fprintf(stderr, "%s\n", result.summary.c_str()); return 2;
    default: std::fprintf(stderr, "%s\n", result.summary.c_str()); return 255;
    }
}

}  // namespace lumen
