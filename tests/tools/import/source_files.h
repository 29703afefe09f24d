// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lumen::testing {

// Small source files of the kinds people bring, written byte by byte so
// that every field can be as a writer in the field left it.

// An EDF (or EDF+ with annotations) of two signals ECG1 and ECG2: a 3 mV
// sine of 1.2 Hz, in `unit` (`millivoltsPerUnit` each).
struct EdfFile {
    std::string unit = "mV";
    double millivoltsPerUnit = 1.0;
    std::string physicalMinimum = "-10";
    std::string physicalMaximum = "10";
    std::string recordSeconds = "1";
    int samplesPerRecord = 250;
    int records = 20;
    std::vector<std::pair<double, std::string>> annotations;  // onset in seconds, text
    bool plus = false;
    size_t cutTo = 0;  // the file's size when not 0
};
void writeEdf(const std::string& path, const EdfFile& file);

// An ISHNE .ecg of two leads (II and V5) with a 1 mV spike every 0.8 s,
// and its .ann with the labels given (none: no .ann).
struct IshneFile {
    int rateHz = 200;
    int seconds = 60;
    std::string labels;  // one per beat, repeated; may hold '\0'
    bool named = false;  // patient "Müller" (Latin-1), recorded 2023-11-05 09:30:00
};
std::vector<int64_t> ishneBeatSamples(const IshneFile& file);
void writeIshne(const std::string& stem, const IshneFile& file);

// Little-endian 16-bit samples, frame by frame.
std::vector<uint8_t> format16(const std::vector<int16_t>& interleaved);

}  // namespace lumen::testing
