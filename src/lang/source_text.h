// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "lang/code_page.h"

namespace lumen {

// The next code point of UTF-8 text at `at`, which moves past it; nullopt
// for a malformed, overlong or surrogate sequence (`at` then moves one byte).
std::optional<char32_t> nextUtf8(std::string_view text, size_t& at);

bool isUtf8(std::string_view text);

// Text of a source file whose encoding is not declared (EDF and ISHNE say
// ASCII, real files carry Latin-1 or UTF-8) as UTF-8: valid UTF-8 stays,
// anything else is read as Windows-1252, Latin-1's superset.
std::string utf8OfSourceText(std::string_view bytes);

// UTF-8 text in a single-byte code page; what the page lacks becomes '?'.
std::string encodeFromUtf8(std::string_view utf8, CodePage page);

}  // namespace lumen
