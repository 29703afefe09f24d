#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::testing {

// A JSON document read strictly (RFC 8259): objects, arrays, strings,
// numbers, true, false and null. A lookup that finds nothing gives the
// missing value instead of failing, so that a chain of lookups reads
// naturally in an assertion and the assertion says what is absent.
class JsonValue {
public:
    enum class Kind : uint8_t { Missing, Null, Boolean, Number, String, Array, Object };

    static constexpr size_t kMaxTextBytes = size_t{64} << 20;
    static constexpr int kMaxDepth = 64;

    // The value of the whole text, or the missing value with `error` naming
    // what is wrong and where.
    static JsonValue parse(std::string_view text, std::string& error);

    Kind kind() const { return kind_; }
    bool present() const { return kind_ != Kind::Missing; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool isNumber() const { return kind_ == Kind::Number; }
    // NaN unless a number, so that any comparison with it fails.
    double number() const;
    // Empty unless a string.
    const std::string& string() const { return text_; }
    bool boolean() const { return kind_ == Kind::Boolean && number_ != 0.0; }
    // Items of an array or members of an object; 0 for anything else.
    size_t size() const { return items_.size(); }
    const std::vector<JsonValue>& items() const { return items_; }
    const std::vector<std::string>& keys() const { return keys_; }

    const JsonValue& operator[](std::string_view key) const;
    const JsonValue& operator[](size_t index) const;

private:
    friend class JsonReader;

    Kind kind_ = Kind::Missing;
    double number_ = 0.0;
    std::string text_;
    std::vector<std::string> keys_;  // object members, in text order, beside items_
    std::vector<JsonValue> items_;
};

}  // namespace lumen::testing
