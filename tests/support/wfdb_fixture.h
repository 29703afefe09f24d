// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace lumen::testing {

// A small two-channel WFDB record without annotations (format 16, 250 Hz,
// a beat every 0.8 s), written as RECORD.hea and RECORD.dat into `folder`.
// Returns the header's path.
std::string writeBeatingRecord(const std::filesystem::path& folder, const std::string& record, int seconds = 20);

}  // namespace lumen::testing
