// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assembly/calendar_date.h"

namespace lumen {

// One signal line of a WFDB header.
struct WfdbSignalSpec {
    std::string fileName;
    int format = 0;
    int64_t byteOffset = 0;
    int skew = 0;              // the signal's sample i lies in frame i + skew
    double gainPerMv = 200.0;  // ADC units per millivolt
    double baseline = 0.0;     // ADC value of 0 mV
    std::string units = "mV";
    int adcResolution = 12;
    int adcZero = 0;
    std::string description;
};

// A WFDB record header (RECORD.hea): record line, signal lines, comments.
struct WfdbHeader {
    std::string recordName;
    double samplingFrequency = 250.0;
    double counterFrequency = 0.0;  // 0 when the header gives none
    std::optional<int64_t> samplesPerSignal;
    std::optional<int32_t> startSecondOfDay;
    std::optional<CalendarDate> startDate;  // written only after a start time
    std::vector<WfdbSignalSpec> signals;
    std::vector<std::string> comments;

    static bool supportedFormat(int format);
    // Throws ImportError naming `fileName` when the text is not a header
    // Lumen can read.
    static WfdbHeader parse(std::string_view text, const std::string& fileName);
    std::string format() const;
};

}  // namespace lumen
