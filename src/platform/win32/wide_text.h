// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lumen {

// UTF-8, the program's text, to and from the UTF-16 of the wide Windows
// calls (MultiByteToWideChar / WideCharToMultiByte). Invalid bytes become
// U+FFFD rather than cutting the text short.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

}  // namespace lumen
