// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumen {

// The day a recording began, as its source gave it.
struct CalendarDate {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;

    // nullopt unless the day exists (years 1900 to 2999).
    static std::optional<CalendarDate> of(int64_t year, int64_t month, int64_t day);
    // "YYYY-MM-DD", or nullopt.
    static std::optional<CalendarDate> parseIso(std::string_view text);
    std::string iso() const;
    bool operator==(const CalendarDate&) const = default;
};

}  // namespace lumen
