// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/color_file.h"

#include <cctype>
#include <memory>

#include "lang/stored_language.h"
#include "store/plain_file.h"

namespace lumen {
namespace {

// One white-space separated token of any length, as "%s" reads it.
std::optional<std::string> readToken(std::FILE* file) {
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c)) c = std::fgetc(file);
    if (c == EOF) return std::nullopt;
    std::string token;
    for (; c != EOF && !std::isspace(c); c = std::fgetc(file)) token.push_back(static_cast<char>(c));
    return token;
}

}  // namespace

int32_t nextColorComponent(std::string& token) {
    // A run of digits too long for 32 bits wraps around instead of
    // overflowing; only the low byte is ever used.
    uint32_t value = 0;
    size_t at = 0;
    for (; at < token.size(); ++at) {
        const char c = token[at];
        if (c == '=') {
            value = 0;
        } else if (c >= '0' && c <= '9') {
            value = value * 10u + static_cast<uint32_t>(c - '0');
        } else if (c == ',') {
            ++at;
            break;
        }
    }
    token.erase(0, at);
    return static_cast<int32_t>(value);
}

Color colorFromToken(std::string token) {
    const auto red = static_cast<uint8_t>(nextColorComponent(token));
    const auto green = static_cast<uint8_t>(nextColorComponent(token));
    const auto blue = static_cast<uint8_t>(nextColorComponent(token));
    return rgb(red, green, blue);
}

std::optional<ColorSettings> readColorFile(const std::string& path) {
    const PlainFile file(openPlainFile(path, "rb"));
    if (!file) return std::nullopt;
    ColorSettings settings;
    int32_t number = 1;
    for (auto token = readToken(file.get()); token; token = readToken(file.get()), ++number) {
        switch (static_cast<ColorToken>(number)) {
        case ColorToken::Window: settings.window = colorFromToken(*token); break;
        case ColorToken::Trace: settings.trace = colorFromToken(*token); break;
        case ColorToken::Ventricular: settings.ventricular = colorFromToken(*token); break;
        case ColorToken::Supraventricular: settings.supraventricular = colorFromToken(*token); break;
        case ColorToken::Text: settings.text = colorFromToken(*token); break;
        case ColorToken::Caliper: settings.caliper = colorFromToken(*token); break;
        default: break;
        }
    }
    settings.languageIndex = languageFromLine(findConfigKey(file.get(), kStoredLanguageKey));
    return settings;
}

std::optional<Color> readGridColorFile(const std::string& path) {
    const PlainFile file(openPlainFile(path, "rb"));
    if (!file) return std::nullopt;
    const auto token = readToken(file.get());
    return colorFromToken(token.value_or(""));
}

}  // namespace lumen
