// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

#include "store/beat_list.h"

namespace lumen {

// The beat statistics line in the language's pattern: normal, ventricular
// and supraventricular beats, each with its share of the three, in that
// order; at most 511 bytes, as the title's buffer held.
std::string beatStatisticsText(std::string_view pattern, const BeatCounts& counts);

}  // namespace lumen
