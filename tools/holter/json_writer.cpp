#include "holter/json_writer.h"

#include <cstdio>

namespace lumen {

std::string JsonWriter::quoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonWriter::key(std::string_view name) {
    if (needsComma_) text_ += ", ";
    if (!name.empty()) text_ += quoted(name) + ": ";
    needsComma_ = true;
}

JsonWriter& JsonWriter::beginObject(std::string_view name) {
    key(name);
    text_ += "{";
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    text_ += "}";
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::number(std::string_view name, int64_t value) {
    key(name);
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view name, std::string_view value) {
    key(name);
    text_ += quoted(value);
    return *this;
}

}  // namespace lumen
