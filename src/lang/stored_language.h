// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace lumen {

// The key under which color.ini stores the language, spelled as stored.
inline constexpr const char* kStoredLanguageKey = "TAROLT_LANGUAGE";

// Searches the file from its start for `key` (a mismatching character is not
// tried again as a first character) and gives up to 20 characters after it.
std::optional<std::string> findConfigKey(std::FILE* file, const std::string& key);

// The stored language: 1..13 except 6, else 2.
int32_t languageFromLine(const std::optional<std::string>& line);

}  // namespace lumen
