// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/source_text.h"

namespace lumen {
namespace {

constexpr char kMissingCharacter = '?';
constexpr char32_t kReplacementCharacter = 0xFFFD;  // what the tables give undefined bytes

bool continuation(std::string_view text, size_t at) {
    return at < text.size() && (static_cast<uint8_t>(text[at]) & 0xC0) == 0x80;
}

}  // namespace

std::optional<char32_t> nextUtf8(std::string_view text, size_t& at) {
    const auto lead = static_cast<uint8_t>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t point = length == 0 || lead > 0xF4 ? 0 : lead & (0x7F >> length);
    bool valid = length != 0 && lead <= 0xF4;
    for (size_t k = 1; valid && k < length; ++k) {
        valid = continuation(text, at + k);  // a sequence cut by the text's end is none
        if (valid) point = (point << 6) | (static_cast<uint8_t>(text[at + k]) & 0x3F);
    }
    valid = valid && point >= kSmallest[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    at += valid ? length : 1;
    return valid ? std::optional<char32_t>(point) : std::nullopt;
}

bool isUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();)
        if (!nextUtf8(text, at)) return false;
    return true;
}

std::string utf8OfSourceText(std::string_view bytes) {
    return isUtf8(bytes) ? std::string(bytes) : decodeToUtf8(bytes, CodePage::Windows1252);
}

std::string encodeFromUtf8(std::string_view utf8, CodePage page) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> point = nextUtf8(utf8, at);
        char byte = kMissingCharacter;
        if (point && *point < 0x80) byte = static_cast<char>(*point);
        const bool mappable = point && *point >= 0x80 && *point != kReplacementCharacter;
        for (unsigned b = 0x80; mappable && b <= 0xFF; ++b) {
            if (codePageToUnicode(static_cast<uint8_t>(b), page) == *point) {
                byte = static_cast<char>(b);
                break;
            }
        }
        out.push_back(byte);
    }
    return out;
}

}  // namespace lumen
