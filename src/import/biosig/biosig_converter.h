// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace lumen {

// Reads a file in any format libbiosig knows (SCP-ECG, HL7 aECG, DICOM
// waveform, GDF, MFER, vendor XML...) and writes it as a WFDB record that
// Lumen's own reader imports: every signal in µV (format 16, 1 µV per
// unit), the start date and time, the patient's name as a comment.
//
// libbiosig is not hardened against damaged files, so this runs only in
// `holter biosig`, a process of its own (see OtherFormatRecord).
class BiosigConverter {
public:
    static constexpr const char* kRecordName = "converted";

    // Returns "" when the record was written, else why not (a sentence).
    static std::string convert(const std::string& source, const std::filesystem::path& folder);
};

}  // namespace lumen
