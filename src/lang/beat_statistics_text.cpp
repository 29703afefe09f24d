// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/beat_statistics_text.h"

#include "lang/printf_pattern.h"

namespace lumen {

std::string beatStatisticsText(std::string_view pattern, const BeatCounts& counts) {
    const uint32_t normal = counts.byClass[static_cast<size_t>(BeatClass::Normal)];
    const uint32_t ventricular = counts.byClass[static_cast<size_t>(BeatClass::Ventricular)];
    const uint32_t supraventricular = counts.byClass[static_cast<size_t>(BeatClass::Supraventricular)];
    const double total = static_cast<double>(normal) + ventricular + supraventricular;
    auto percent = [total](uint32_t count) { return total > 0 ? count * 100.0 / total : 0.0; };
    constexpr size_t kTextBytes = 511;
    const std::string text =
        formatPattern(pattern, static_cast<long>(normal), percent(normal), static_cast<long>(ventricular),
                      percent(ventricular), static_cast<long>(supraventricular), percent(supraventricular));
    return text.size() <= kTextBytes ? text : text.substr(0, kTextBytes);
}

}  // namespace lumen
