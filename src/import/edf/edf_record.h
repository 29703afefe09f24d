// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "import/source_recording.h"

namespace lumen {

// Opens an EDF, EDF+, BDF or BDF+ file through EDFlib: two ECG signals by
// label (ECG, EKG or a lead name) or by --channels, and the EDF+
// annotations whose text is a beat code as beats, the others as manual
// events.
class EdfRecord {
public:
    static SourceRecording open(const std::string& path, const std::vector<std::string>& channels);
};

}  // namespace lumen
