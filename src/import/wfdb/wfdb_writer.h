// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "assembly/calendar_date.h"
#include "import/wfdb/wfdb_annotations.h"

namespace lumen {

struct WfdbWriteSignal {
    std::string description;
    double gainPerMv = 200.0;
    int baseline = 0;
};

// Writes a WFDB record: RECORD.hea, RECORD.dat in format 16 (the signals
// interleaved frame by frame) and, when given, RECORD.atr.
class WfdbWriter {
public:
    WfdbWriter(std::filesystem::path directory, std::string record, double frequencyHz,
               std::vector<WfdbWriteSignal> signals);

    // The base time and date of the header; none by default.
    void setStart(int32_t secondOfDay, std::optional<CalendarDate> date) {
        startSecondOfDay_ = secondOfDay;
        startDate_ = date;
    }
    // Appends frames: samples[c][i] for signal c. Returns false on a write error.
    bool append(std::span<const std::vector<int16_t>> samples, size_t frames);
    bool finish(std::span<const WfdbAnnotation> annotations, const std::vector<std::string>& comments = {});

private:
    std::filesystem::path directory_;
    std::string record_;
    double frequencyHz_;
    std::vector<WfdbWriteSignal> signals_;
    std::optional<int32_t> startSecondOfDay_;
    std::optional<CalendarDate> startDate_;
    std::vector<uint8_t> buffer_;
    int64_t frames_ = 0;
    bool ok_ = true;
    std::FILE* data_ = nullptr;
};

}  // namespace lumen
