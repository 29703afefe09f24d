// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_table.h"

#include "lang/embedded_language_files.h"

namespace lumen {
namespace {

std::optional<std::string> parseQuotedLine(std::string_view line) {
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
        return std::nullopt;
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    std::string text;
    for (size_t i = 0; i < inner.size(); ++i) {
        char c = inner[i];
        if (c == '\\') {
            if (i + 1 == inner.size()) {
                return std::nullopt;
            }
            c = inner[++i];
            if (c != '"' && c != '\\') {
                return std::nullopt;
            }
        } else if (c == '"') {
            return std::nullopt;
        }
        text.push_back(c);
    }
    return text;
}

// The numbers whose texts are the English record under another number.
int32_t sourceFileNumber(int32_t languageNumber) {
    return (languageNumber == 5 || languageNumber == 10) ? 2 : languageNumber;
}

struct LanguageTable {
    std::array<std::optional<LanguageRecord>, kHighestLanguageNumber + 1> records;

    LanguageTable() {
        for (int32_t n = 1; n <= kHighestLanguageNumber; ++n) {
            if (n != 6) {
                records[static_cast<size_t>(n)] = parseLanguageFile(embeddedLanguageFile(sourceFileNumber(n)));
            }
        }
    }
};

}  // namespace

std::optional<LanguageRecord> parseLanguageFile(std::string_view fileText) {
    LanguageRecord record;
    int32_t count = 0;
    while (!fileText.empty()) {
        const size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText = end == std::string_view::npos ? std::string_view{} : fileText.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::optional<std::string> text = parseQuotedLine(line);
        if (!text || count == kLanguageTextCount) {
            return std::nullopt;
        }
        record[static_cast<size_t>(count++)] = std::move(*text);
    }
    if (count != kLanguageTextCount) {
        return std::nullopt;
    }
    return record;
}

const LanguageRecord* languageRecord(int32_t languageNumber) {
    static const LanguageTable table;
    if (languageNumber < 1 || languageNumber > kHighestLanguageNumber) {
        return nullptr;
    }
    const std::optional<LanguageRecord>& record = table.records[static_cast<size_t>(languageNumber)];
    return record ? &*record : nullptr;
}

}  // namespace lumen
