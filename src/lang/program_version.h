// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace lumen {

// What `--version` prints: the program, Lumen's version, the copyright line
// and the licence, in the GNU programs' form.
std::string versionText(std::string_view program);

}  // namespace lumen
