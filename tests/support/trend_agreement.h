// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen::testing {

// The trend tables of the home's recording against its beats, as a
// reviewer meets them: the stored heart-rate table is exactly the one the
// viewer rebuilds from the same beats, the stored extremes are the ones its
// search finds, and excluding extremes one after another never reveals a
// more extreme value.
// `home` is a program home and ends with a separator.
void expectTrendsAgreeWithTheirBeats(const std::string& home);

}  // namespace lumen::testing
