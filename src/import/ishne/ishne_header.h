// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumen {

inline constexpr size_t kIshneFixedHeaderEnd = 522;  // magic, CRC and the 512-byte fixed header
inline constexpr int kIshneMaxLeads = 12;

// The header of an ISHNE Holter 1.0 file (.ecg) or of its annotation file,
// which repeats it.
struct IshneHeader {
    int64_t samplesPerLead = 0;
    // Writers in the field often leave the CRC 0 or wrong; the fields are
    // read as they stand, and the importer says so.
    bool crcMatches = true;
    int64_t variableBlockOffset = 0;
    int64_t dataOffset = 0;  // the ECG samples, or the annotations
    std::string firstName;
    std::string lastName;
    std::string id;
    std::array<int, 3> recordDate{};  // day, month, year
    std::array<int, 3> startTime{};   // hour, minute, second
    int leads = 0;
    std::array<int, kIshneMaxLeads> leadSpec{};
    std::array<int, kIshneMaxLeads> resolutionNv{};
    int samplingRate = 0;

    // The bytes needed to check the header: its variable block size plus
    // the fixed part; 0 when `start` is too short to tell.
    static size_t headerBytes(std::span<const uint8_t> start);
    // Checks the magic and the CRC and reads the fields; throws ImportError
    // naming `fileName`. `magic` is "ISHNE1.0" or "ANN  1.0".
    static IshneHeader parse(std::span<const uint8_t> bytes, const std::string& fileName, const char* magic);
    static uint16_t crc(std::span<const uint8_t> bytes);
    static std::string leadName(int leadCode);
};

// The beat annotations of an ISHNE annotation file: after the header, the
// sample of the first annotation (32 bits), then per annotation a label
// byte, a byte for internal use and the distance in samples from the
// previous annotation (16 bits).
struct IshneAnnotation {
    int64_t sample = 0;
    char label = 0;
};
std::vector<IshneAnnotation> parseIshneAnnotations(std::span<const uint8_t> bytes, const std::string& fileName);

}  // namespace lumen
