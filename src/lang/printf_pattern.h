// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace lumen {

// What one printf conversion reads from the arguments.
enum class FormatArgument : uint8_t { Int, Long, Double, String };

template <typename T>
constexpr FormatArgument formatArgumentOf() {
    using Value = std::decay_t<T>;
    if constexpr (std::is_same_v<Value, long> || std::is_same_v<Value, unsigned long>) {
        return FormatArgument::Long;
    } else if constexpr (std::is_integral_v<Value>) {
        static_assert(sizeof(Value) <= sizeof(int), "pass wider integers as long");
        return FormatArgument::Int;
    } else if constexpr (std::is_floating_point_v<Value>) {
        static_assert(!std::is_same_v<Value, long double>, "long double has no conversion here");
        return FormatArgument::Double;
    } else {
        static_assert(std::is_same_v<Value, const char*> || std::is_same_v<Value, char*>, "unsupported value");
        return FormatArgument::String;
    }
}

// True when the conversions of `pattern` read exactly `arguments`, in order.
// What cannot be vouched for (%n, a width or precision taken from the
// arguments, long double, an unknown letter) is refused.
constexpr bool formatTakes(std::string_view pattern, std::initializer_list<FormatArgument> arguments) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto next = arguments.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        if (++i < pattern.size() && pattern[i] == '%') continue;
        while (i < pattern.size() && std::string_view("-+ #0").find(pattern[i]) != std::string_view::npos) ++i;
        while (i < pattern.size() && isDigit(pattern[i])) ++i;
        if (i < pattern.size() && pattern[i] == '.') {
            for (++i; i < pattern.size() && isDigit(pattern[i]);) ++i;
        }
        int longs = 0;
        int shorts = 0;
        for (; i < pattern.size() && (pattern[i] == 'l' || pattern[i] == 'h'); ++i) (pattern[i] == 'l' ? longs : shorts)++;
        if (i >= pattern.size() || longs > 1 || (longs > 0 && shorts > 0)) return false;
        FormatArgument wanted = FormatArgument::Int;
        if (std::string_view("diouxX").find(pattern[i]) != std::string_view::npos) {
            wanted = longs > 0 ? FormatArgument::Long : FormatArgument::Int;
        } else if (pattern[i] == 'c' && longs == 0) {
            wanted = FormatArgument::Int;
        } else if (std::string_view("fFeEgGaA").find(pattern[i]) != std::string_view::npos && shorts == 0) {
            wanted = FormatArgument::Double;
        } else if (pattern[i] == 's' && longs == 0 && shorts == 0) {
            wanted = FormatArgument::String;
        } else {
            return false;
        }
        if (next == arguments.end() || *next != wanted) return false;
        ++next;
    }
    return next == arguments.end();
}

// printf into a string, for a pattern formatTakes accepted for these values.
template <typename... Values>
std::string formatAccepted(std::string_view pattern, Values... values) {
    const std::string terminated(pattern);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    const int length = std::snprintf(nullptr, 0, terminated.c_str(), values...);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), terminated.c_str(), values...);
#pragma GCC diagnostic pop
    text.pop_back();
    return text;
}

// A printf pattern from a language file filled with values. A pattern whose
// conversions do not read them (a damaged translation) comes back as it is:
// printf would read values that are not there.
template <typename... Values>
std::string formatPattern(std::string_view pattern, Values... values) {
    if (!formatTakes(pattern, {formatArgumentOf<Values>()...})) return std::string(pattern);
    return formatAccepted(pattern, values...);
}

}  // namespace lumen
