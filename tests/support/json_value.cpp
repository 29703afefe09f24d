#include "support/json_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace lumen::testing {

// Reads one document; every step returns false once something is wrong,
// and the first error found is the one reported.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    bool document(JsonValue& out) {
        if (text_.size() > JsonValue::kMaxTextBytes) return fail("the text is larger than the reader takes");
        skipBlanks();
        if (!value(out, 0)) return false;
        skipBlanks();
        return at_ == text_.size() || fail("text after the value");
    }
    const std::string& error() const { return error_; }

private:
    static constexpr uint32_t kHighSurrogateFirst = 0xD800;
    static constexpr uint32_t kLowSurrogateFirst = 0xDC00;
    static constexpr uint32_t kSurrogateEnd = 0xE000;
    static constexpr uint32_t kFirstSupplementary = 0x10000;

    bool fail(const std::string& what) {
        if (error_.empty()) error_ = what + " at byte " + std::to_string(at_);
        return false;
    }
    bool more() const { return at_ < text_.size(); }
    char peek() const { return more() ? text_[at_] : '\0'; }
    void skipBlanks() {
        while (more() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++at_;
    }
    bool expect(char c) {
        if (peek() != c) return fail(std::string("expected '") + c + "'");
        ++at_;
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > JsonValue::kMaxDepth) return fail("nesting deeper than the reader takes");
        switch (peek()) {
        case '{': return object(out, depth);
        case '[': return array(out, depth);
        case '"': out.kind_ = JsonValue::Kind::String; return string(out.text_);
        case 't': return literal("true", JsonValue::Kind::Boolean, 1.0, out);
        case 'f': return literal("false", JsonValue::Kind::Boolean, 0.0, out);
        case 'n': return literal("null", JsonValue::Kind::Null, 0.0, out);
        default: return number(out);
        }
    }

    bool literal(std::string_view word, JsonValue::Kind kind, double number, JsonValue& out) {
        if (text_.substr(at_, word.size()) != word) return fail("unknown word");
        at_ += word.size();
        out.kind_ = kind;
        out.number_ = number;
        return true;
    }

    bool object(JsonValue& out, int depth) {
        out.kind_ = JsonValue::Kind::Object;
        ++at_;
        skipBlanks();
        if (peek() == '}') return ++at_, true;
        while (true) {
            std::string key;
            if (peek() != '"') return fail("expected a member name");
            if (!string(key)) return false;
            if (std::find(out.keys_.begin(), out.keys_.end(), key) != out.keys_.end())
                return fail("member \"" + key + "\" twice");
            skipBlanks();
            if (!expect(':')) return false;
            skipBlanks();
            out.keys_.push_back(std::move(key));
            if (!value(out.items_.emplace_back(), depth + 1)) return false;
            skipBlanks();
            if (peek() == '}') return ++at_, true;
            if (!expect(',')) return false;
            skipBlanks();
        }
    }

    bool array(JsonValue& out, int depth) {
        out.kind_ = JsonValue::Kind::Array;
        ++at_;
        skipBlanks();
        if (peek() == ']') return ++at_, true;
        while (true) {
            if (!value(out.items_.emplace_back(), depth + 1)) return false;
            skipBlanks();
            if (peek() == ']') return ++at_, true;
            if (!expect(',')) return false;
            skipBlanks();
        }
    }

    size_t digits() {
        const size_t from = at_;
        while (more() && peek() >= '0' && peek() <= '9') ++at_;
        return at_ - from;
    }

    bool number(JsonValue& out) {
        const size_t from = at_;
        if (peek() == '-') ++at_;
        const bool leadingZero = peek() == '0';
        const size_t whole = digits();
        if (whole == 0 || (leadingZero && whole > 1)) return fail("malformed number");
        if (peek() == '.' && (++at_, digits() == 0)) return fail("malformed fraction");
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-') ++at_;
            if (digits() == 0) return fail("malformed exponent");
        }
        const auto [end, status] = std::from_chars(text_.data() + from, text_.data() + at_, out.number_);
        if (status != std::errc() || end != text_.data() + at_ || !std::isfinite(out.number_))
            return fail("number out of range");
        out.kind_ = JsonValue::Kind::Number;
        return true;
    }

    bool hexQuad(uint32_t& code) {
        if (text_.size() - at_ < 4) return fail("short \\u escape");
        const auto [end, status] = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, code, 16);
        if (status != std::errc() || end != text_.data() + at_ + 4) return fail("malformed \\u escape");
        at_ += 4;
        return true;
    }

    static void appendUtf8(uint32_t code, std::string& out) {
        const auto byte = [&](uint32_t b) { out.push_back(static_cast<char>(b)); };
        if (code < 0x80) {
            byte(code);
        } else if (code < 0x800) {
            byte(0xC0 | code >> 6), byte(0x80 | (code & 0x3F));
        } else if (code < kFirstSupplementary) {
            byte(0xE0 | code >> 12), byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F));
        } else {
            byte(0xF0 | code >> 18), byte(0x80 | (code >> 12 & 0x3F)), byte(0x80 | (code >> 6 & 0x3F));
            byte(0x80 | (code & 0x3F));
        }
    }

    bool unicodeEscape(std::string& out) {
        uint32_t code = 0;
        if (!hexQuad(code)) return false;
        if (code >= kLowSurrogateFirst && code < kSurrogateEnd) return fail("lone low surrogate");
        if (code >= kHighSurrogateFirst && code < kLowSurrogateFirst) {
            uint32_t low = 0;
            if (text_.substr(at_, 2) != "\\u") return fail("lone high surrogate");
            at_ += 2;
            if (!hexQuad(low)) return false;
            if (low < kLowSurrogateFirst || low >= kSurrogateEnd) return fail("lone high surrogate");
            code = kFirstSupplementary + ((code - kHighSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
        }
        appendUtf8(code, out);
        return true;
    }

    bool escape(std::string& out) {
        static constexpr std::string_view kFrom = "\"\\/bfnrt";
        static constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        const char c = peek();
        ++at_;
        if (c == 'u') return unicodeEscape(out);
        const size_t which = kFrom.find(c);
        if (c == '\0' || which == std::string_view::npos) return fail("unknown escape");
        out.push_back(kTo[which]);
        return true;
    }

    // The length of the UTF-8 sequence at the reading place, 0 when invalid.
    size_t utf8Length() const {
        const auto lead = static_cast<uint8_t>(peek());
        const size_t length = lead < 0x80   ? 1
                              : lead < 0xC2 ? 0
                              : lead < 0xE0 ? 2
                              : lead < 0xF0 ? 3
                              : lead < 0xF5 ? 4
                                            : 0;
        if (length == 0 || text_.size() - at_ < length) return 0;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<uint8_t>(text_[at_ + k]) & 0xC0) != 0x80) return 0;
        const auto second = static_cast<uint8_t>(length > 1 ? text_[at_ + 1] : 0);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)) return 0;  // overlong, surrogate
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) return 0;  // overlong, too large
        return length;
    }

    bool string(std::string& out) {
        ++at_;
        while (true) {
            if (!more()) return fail("unterminated string");
            const char c = peek();
            if (c == '"') return ++at_, true;
            if (static_cast<uint8_t>(c) < 0x20) return fail("control character in a string");
            if (c == '\\') {
                ++at_;
                if (!escape(out)) return false;
                continue;
            }
            const size_t length = utf8Length();
            if (length == 0) return fail("invalid UTF-8");
            out.append(text_.substr(at_, length));
            at_ += length;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
    std::string error_;
};

JsonValue JsonValue::parse(std::string_view text, std::string& error) {
    JsonReader reader(text);
    JsonValue out;
    if (reader.document(out)) {
        error.clear();
        return out;
    }
    error = reader.error();
    return JsonValue();
}

double JsonValue::number() const { return kind_ == Kind::Number ? number_ : std::numeric_limits<double>::quiet_NaN(); }

const JsonValue& JsonValue::operator[](std::string_view key) const {
    static const JsonValue kMissing;
    if (kind_ != Kind::Object) return kMissing;
    const auto at = std::find(keys_.begin(), keys_.end(), key);
    return at == keys_.end() ? kMissing : items_[static_cast<size_t>(at - keys_.begin())];
}

const JsonValue& JsonValue::operator[](size_t index) const {
    static const JsonValue kMissing;
    return kind_ == Kind::Array && index < items_.size() ? items_[index] : kMissing;
}

}  // namespace lumen::testing
