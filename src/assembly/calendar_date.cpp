// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/calendar_date.h"

#include <charconv>
#include <cstdio>

namespace lumen {
namespace {

constexpr int64_t kFirstYear = 1900;
constexpr int64_t kLastYear = 2999;

int64_t daysIn(int64_t year, int64_t month) {
    static constexpr int64_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<int64_t> digits(std::string_view text) {
    int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || text[0] == '-') return std::nullopt;
    return v;
}

}  // namespace

std::optional<CalendarDate> CalendarDate::of(int64_t year, int64_t month, int64_t day) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 || day > daysIn(year, month))
        return std::nullopt;
    return CalendarDate{static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day)};
}

std::optional<CalendarDate> CalendarDate::parseIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    const auto day = digits(text.substr(8, 2));
    if (!year || !month || !day) return std::nullopt;
    return of(*year, *month, *day);
}

std::string CalendarDate::iso() const {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

}  // namespace lumen
