// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_text.h"

#include <cstdio>

namespace lumen {

namespace {

// The conversion letter of the single conversion in the format, or 0 when
// there is none or more than one.
char onlyConversion(std::string_view format) {
    char found = 0;
    int count = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < format.size() && std::string_view("0123456789.-+ #l").find(format[j]) != std::string_view::npos) ++j;
        if (j >= format.size()) return 0;
        found = format[j];
        ++count;
        i = j;
    }
    return count == 1 ? found : 0;
}

template <typename T>
std::string formatWith(std::string_view format, T value) {
    const std::string pattern(format);
    char buffer[256];
    const int written = std::snprintf(buffer, sizeof buffer, pattern.c_str(), value);
    if (written < 0) return pattern;
    return std::string(buffer, static_cast<size_t>(written) < sizeof buffer ? static_cast<size_t>(written) : sizeof buffer - 1);
}

}  // namespace

std::string formatFloat(std::string_view format, double value) {
    const char conversion = onlyConversion(format);
    if (conversion != 'f' && conversion != 'e' && conversion != 'g') return std::string(format);
    return formatWith(format, value);
}

}  // namespace lumen
