// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen {

// The single-byte Windows code pages in which recordings and the language
// records of Windows workstations are written.
enum class CodePage : int32_t {
    Windows1250 = 1250,  // Central European
    Windows1251 = 1251,  // Cyrillic
    Windows1252 = 1252,  // Western European
};

// Unicode code point of one byte; bytes the code page leaves undefined give
// U+FFFD so that damaged text stays visible rather than silently dropped.
char32_t codePageToUnicode(uint8_t byte, CodePage page);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Single-byte text in `page` as UTF-8 (what the drawing platform takes).
std::string decodeToUtf8(std::string_view bytes, CodePage page);

}  // namespace lumen
