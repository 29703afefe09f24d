// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

namespace lumen {

// The folder where a user's programs keep what they can make again: on
// Linux $XDG_CACHE_HOME or ~/.cache, on Windows %LOCALAPPDATA%. UTF-8,
// without a trailing separator; nothing when the environment names none.
std::optional<std::string> userCacheFolder();

}  // namespace lumen
