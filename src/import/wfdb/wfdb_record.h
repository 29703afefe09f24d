// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "import/source_recording.h"

namespace lumen {

// Opens a WFDB record (RECORD.hea or the record path without extension)
// with up to two of its signals and its beat annotations.
class WfdbRecord {
public:
    // channels: signal numbers (from 1) or descriptions; empty picks
    // ECG-looking signals, else the first two. annotations: a file path, or empty for
    // RECORD.atr when it exists.
    static SourceRecording open(const std::filesystem::path& source, const std::vector<std::string>& channels,
                                const std::string& annotations);
    static std::filesystem::path headerPath(const std::filesystem::path& source);
};

}  // namespace lumen
