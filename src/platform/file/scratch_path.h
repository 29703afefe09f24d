// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace lumen {

// A hidden path in `folder` (".NAME.partial-PID") for building a file or
// folder before it takes its final name: unique to this process, so two
// tools writing the same target never share one.
std::filesystem::path scratchPathIn(const std::filesystem::path& folder, const std::string& name);

}  // namespace lumen
