// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/tool_arguments.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/file/folder_path.h"

namespace lumen {

std::optional<ToolArguments> ToolArguments::parse(std::span<char* const> words,
                                                  std::span<const std::string_view> knownOptions,
                                                  std::span<const std::string_view> knownFlags) {
    ToolArguments arguments;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string word = words[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            arguments.positional.push_back(word);
            continue;
        }
        if (std::find(knownFlags.begin(), knownFlags.end(), word) != knownFlags.end()) {
            arguments.flags.push_back(word);
            continue;
        }
        if (i + 1 >= words.size()) return std::nullopt;
        const std::string value = words[++i];
        if (word == "--home") {
            arguments.programDirectory = value.empty() ? value : withFolderSeparator(value);
        } else if (std::find(knownOptions.begin(), knownOptions.end(), word) != knownOptions.end()) {
            arguments.options.emplace_back(word, value);
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

std::optional<std::string> ToolArguments::option(std::string_view name) const {
    for (const auto& [key, value] : options) {
        if (key == name) return value;
    }
    return std::nullopt;
}

bool ToolArguments::flag(std::string_view name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<long> parseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return value;
}

}  // namespace lumen
