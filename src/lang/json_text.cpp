// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/json_text.h"

#include <cstdio>

namespace lumen {

std::string JsonText::quoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void JsonText::key(std::string_view name) {
    if (needsComma_) text_ += ", ";
    if (!name.empty()) text_ += quoted(name) + ": ";
    needsComma_ = true;
}

JsonText& JsonText::beginObject(std::string_view name) {
    key(name);
    text_ += '{';
    needsComma_ = false;
    return *this;
}

JsonText& JsonText::endObject() {
    text_ += '}';
    needsComma_ = true;
    return *this;
}

JsonText& JsonText::beginArray(std::string_view name) {
    key(name);
    text_ += '[';
    needsComma_ = false;
    return *this;
}

JsonText& JsonText::endArray() {
    text_ += ']';
    needsComma_ = true;
    return *this;
}

JsonText& JsonText::number(std::string_view name, int64_t value) {
    key(name);
    text_ += std::to_string(value);
    return *this;
}

JsonText& JsonText::numbers(std::string_view name, std::initializer_list<int64_t> values) {
    beginArray(name);
    for (const int64_t value : values) number({}, value);
    return endArray();
}

JsonText& JsonText::decimal(std::string_view name, double value, int places) {
    key(name);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    text_ += text;
    return *this;
}

JsonText& JsonText::string(std::string_view name, std::string_view value) {
    key(name);
    text_ += quoted(value);
    return *this;
}

JsonText& JsonText::boolean(std::string_view name, bool value) {
    key(name);
    text_ += value ? "true" : "false";
    return *this;
}

JsonText& JsonText::null(std::string_view name) {
    key(name);
    text_ += "null";
    return *this;
}

}  // namespace lumen
