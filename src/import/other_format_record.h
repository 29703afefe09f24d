// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "import/source_recording.h"

namespace lumen {

// A file in none of the formats Lumen reads itself, read through libbiosig
// (SCP-ECG, HL7 aECG, DICOM waveform, GDF, MFER, vendor XML...). libbiosig
// runs in a child process, `holter biosig`, that writes the recording as a
// WFDB record into a scratch folder: a file that crashes it or makes it
// hang ends as a message naming the file, never as a crash of the viewer.
// Lumen's WFDB reader then reads that record.
class OtherFormatRecord {
public:
    // A child that reads longer than this is taken to hang.
    static constexpr int kDeadlineSeconds = 120;

    static SourceRecording open(const std::string& source, const std::vector<std::string>& channels);
    // Whether this build reads other formats at all.
    static bool available();
};

}  // namespace lumen
