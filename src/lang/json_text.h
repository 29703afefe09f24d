// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace lumen {

// The JSON answers of the tools and the viewer's state dump.
// Builds one JSON object as text: keys in the order written, strings
// escaped (text taken as UTF-8), objects and arrays nested by begin/end.
class JsonText {
public:
    JsonText& beginObject(std::string_view key = {});
    JsonText& endObject();
    JsonText& beginArray(std::string_view key = {});
    JsonText& endArray();
    JsonText& number(std::string_view key, int64_t value);
    JsonText& numbers(std::string_view key, std::initializer_list<int64_t> values);
    // A number with `places` decimals.
    JsonText& decimal(std::string_view key, double value, int places);
    JsonText& string(std::string_view key, std::string_view value);
    JsonText& boolean(std::string_view key, bool value);
    JsonText& null(std::string_view key);

    const std::string& text() const { return text_; }
    static std::string quoted(std::string_view value);

private:
    void key(std::string_view name);

    std::string text_;
    bool needsComma_ = false;
};

}  // namespace lumen
