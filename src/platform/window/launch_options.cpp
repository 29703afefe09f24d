// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/launch_options.h"

#include <charconv>

namespace lumen {

namespace {

constexpr Size defaultScriptScreen{1024, 768};
constexpr int32_t largestScreenSide = 16384;

std::optional<Size> parseScreen(std::string_view text) {
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    int32_t width = 0;
    int32_t height = 0;
    const std::string_view first = text.substr(0, cross);
    const std::string_view second = text.substr(cross + 1);
    const auto [endW, errorW] = std::from_chars(first.data(), first.data() + first.size(), width);
    const auto [endH, errorH] = std::from_chars(second.data(), second.data() + second.size(), height);
    if (errorW != std::errc{} || errorH != std::errc{} || endW != first.data() + first.size() ||
        endH != second.data() + second.size() || width < 1 || height < 1 || width > largestScreenSide ||
        height > largestScreenSide) {
        return std::nullopt;
    }
    return Size{width, height};
}

// Like "%d": optional blanks and sign, then digits; anything else gives 0.
int32_t leadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} ? value : 0;
}

// A printer index is a whole number, as "%d" reads it; any other argument
// names a recording (`lumen 208.hea`).
bool isPrinterIndex(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

LaunchOptions LaunchOptions::parse(std::span<const std::string_view> arguments) {
    LaunchOptions options;
    bool printerSeen = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool takesValue = argument == "--home" || argument == "--headless" || argument == "--script" ||
                                argument == "--print-to" || argument == "--paper";
        if (takesValue && i + 1 >= arguments.size()) {
            options.error = std::string(argument) + " needs a value";
            return options;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        }
        if (argument == "--version") {
            options.version = true;
            return options;
        }
        if (argument == "--home") {
            options.home = std::string(arguments[++i]);
        } else if (argument == "--headless") {
            options.headlessScreen = parseScreen(arguments[++i]);
            if (!options.headlessScreen) {
                options.error = "--headless needs WxH, e.g. 1024x768";
                return options;
            }
        } else if (argument == "--script") {
            options.script = std::string(arguments[++i]);
        } else if (argument == "--print-to") {
            options.printTo = std::string(arguments[++i]);
        } else if (argument == "--paper") {
            const std::optional<PaperSize> paper = PaperSize::named(arguments[++i]);
            if (!paper) {
                options.error = "--paper needs a4 or letter";
                return options;
            }
            options.paper = *paper;
        } else if (argument.size() > 1 && argument.front() == '-' && !isPrinterIndex(argument)) {
            options.error = "unknown option " + std::string(argument);
            return options;
        } else if (isPrinterIndex(argument) || argument.empty()) {
            if (!printerSeen) {
                printerSeen = true;
                options.printerIndex = leadingNumber(argument);
            }
        } else if (options.recordingFile) {
            options.error = "give one recording file, not two (\"" + *options.recordingFile + "\" and \"" +
                            std::string(argument) + "\")";
            return options;
        } else {
            options.recordingFile = std::string(argument);
        }
    }
    if (options.home && options.recordingFile) {
        options.error = "give either --home or a recording file, not both";
        return options;
    }
    if (options.script && !options.headlessScreen) {
        options.headlessScreen = defaultScriptScreen;
    }
    return options;
}

}  // namespace lumen
