// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/stored_language.h"

#include "lang/language_texts.h"

namespace lumen {

std::optional<std::string> findConfigKey(std::FILE* file, const std::string& key) {
    std::rewind(file);
    size_t matched = 0;
    int c = 0;
    while (matched < key.size() && (c = std::fgetc(file)) != EOF) {
        matched = c == static_cast<unsigned char>(key[matched]) ? matched + 1 : 0;
    }
    if (matched < key.size()) return std::nullopt;
    std::string line;
    while (line.size() < 20 && (c = std::fgetc(file)) != EOF && c != '\r' && c != '\n') line.push_back(static_cast<char>(c));
    return line;
}

int32_t languageFromLine(const std::optional<std::string>& line) {
    int value = 0;
    if (!line || std::sscanf(line->c_str(), " = %d", &value) != 1) return LanguageTexts::kDefaultLanguage;
    return LanguageTexts::isAvailable(value) ? value : LanguageTexts::kDefaultLanguage;
}

}  // namespace lumen
