#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen {

// A minimal writer for the one-object JSON answers of the tools: keys in the
// order they are written, strings escaped, text taken as UTF-8.
class JsonWriter {
public:
    JsonWriter& beginObject(std::string_view key = {});
    JsonWriter& endObject();
    JsonWriter& number(std::string_view key, int64_t value);
    JsonWriter& string(std::string_view key, std::string_view value);

    const std::string& text() const { return text_; }

    static std::string quoted(std::string_view value);

private:
    void key(std::string_view name);

    std::string text_;
    bool needsComma_ = false;
};

}  // namespace lumen
