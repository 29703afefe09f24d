// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "import/source_recording.h"

namespace lumen {

// Opens an ISHNE Holter 1.0 file (.ecg): up to two of its leads (by name,
// number or the first two) and the beat annotations of its annotation file
// (`annotations`, or the .ecg's name with .ann when that exists).
class IshneRecord {
public:
    static SourceRecording open(const std::string& path, const std::vector<std::string>& channels,
                                const std::string& annotations);
};

}  // namespace lumen
