// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/utf8_decoder.h"

namespace lumen {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0u) == 0x80u; }

// Length and first-byte payload of the sequence starting with `lead`, or 0.
int sequenceLength(unsigned char lead, char32_t& payload) {
    if (lead < 0x80u) {
        payload = lead;
        return 1;
    }
    if ((lead & 0xE0u) == 0xC0u && lead >= 0xC2u) {
        payload = lead & 0x1Fu;
        return 2;
    }
    if ((lead & 0xF0u) == 0xE0u) {
        payload = lead & 0x0Fu;
        return 3;
    }
    if ((lead & 0xF8u) == 0xF0u && lead <= 0xF4u) {
        payload = lead & 0x07u;
        return 4;
    }
    return 0;
}

}  // namespace

std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> codePoints;
    decodeUtf8Into(text, codePoints);
    return codePoints;
}

void decodeUtf8Into(std::string_view text, std::vector<char32_t>& codePoints) {
    codePoints.clear();
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t value = 0;
        const int length = sequenceLength(lead, value);
        bool valid = length > 0 && i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            valid = isContinuation(byte);
            value = (value << 6) | (byte & 0x3Fu);
        }
        const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        if (valid && !overlong && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) {
            codePoints.push_back(value);
            i += static_cast<size_t>(length);
        } else {
            codePoints.push_back(lead);
            ++i;
        }
    }
}

}  // namespace lumen

namespace lumen {

std::string toValidUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char32_t c : decodeUtf8(text)) {
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (c >> 6)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (c >> 12)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (c >> 18)));
            result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}

}  // namespace lumen
