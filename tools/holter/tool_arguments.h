// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumen {

// The common command line of the holter subcommands: `--home DIR` (default
// the current directory) and positional words, the optional recording
// folder first when the command takes one.
struct ToolArguments {
    std::string programDirectory = "./";  // always ends with '/'
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // other --name value pairs
    std::vector<std::string> flags;                             // --name options without a value

    static std::optional<ToolArguments> parse(std::span<char* const> words,
                                               std::span<const std::string_view> knownOptions,
                                               std::span<const std::string_view> knownFlags = {});
    std::optional<std::string> option(std::string_view name) const;
    bool flag(std::string_view name) const;
};

// Parses a whole decimal number; nothing else in the text.
std::optional<long> parseInteger(const std::string& text);

}  // namespace lumen
