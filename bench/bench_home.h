// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen::bench {

// A 24-hour demo program home, generated once per machine into the temp
// folder and reused by every benchmark (same arguments, same bytes).
const std::string& demoHome24h();

}  // namespace lumen::bench
