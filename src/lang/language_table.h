// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumen {

inline constexpr int32_t kLanguageTextCount = 31;
inline constexpr int32_t kHighestLanguageNumber = 13;

using LanguageRecord = std::array<std::string, kLanguageTextCount>;

// A language file holds comment lines ("#...") and exactly 31 texts, one per
// line, each between double quotes; inside the quotes \" and \\ stand for a
// quote and a backslash. Anything else makes the file unusable.
std::optional<LanguageRecord> parseLanguageFile(std::string_view fileText);

// The record of a language number, or nullptr for the numbers that have
// none (0, 6 and anything outside 1..13). 5 and 10 share the English record.
const LanguageRecord* languageRecord(int32_t languageNumber);

}  // namespace lumen
