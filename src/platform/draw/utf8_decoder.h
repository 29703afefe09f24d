// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumen {

// Turns UTF-8 text into code points. A byte that does not start a valid
// sequence stands for itself (as Latin-1), so single-byte texts still show.
std::vector<char32_t> decodeUtf8(std::string_view text);
// The same into `codePoints`, reusing its storage.
void decodeUtf8Into(std::string_view text, std::vector<char32_t>& codePoints);

}  // namespace lumen

namespace lumen {

// The same text as well-formed UTF-8 (stray bytes read as Latin-1).
std::string toValidUtf8(std::string_view text);

}  // namespace lumen
