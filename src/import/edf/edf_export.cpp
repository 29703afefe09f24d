// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/edf/edf_export.h"

#include <edflib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "import/beat_labels.h"
#include "platform/file/scratch_path.h"
#include "platform/file/utf8_path.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr int kSamplesPerSecond = 50;
// Records shorter than a second when the signal does not last whole
// seconds, so that the file lasts as long as the signal; a length no
// record size divides is padded to the shortest record.
constexpr std::array<int, 4> kRecordSamples = {50, 25, 10, 5};
constexpr int kDurationUnitsPerSample = 2000;             // EDFlib's record duration counts 10 µs
constexpr int kAnnotationSignalsPerSecondRecord = 8;      // beats come about once a second
constexpr long long kAnnotationUnitsPerQuarterTick = 50;  // EDFlib counts 100 µs
constexpr long long kAnnotationUnitsPerTenth = 1000;
// The date EDF+ is given when the recording's own is unknown or outside
// the years EDF can write.
constexpr CalendarDate kUnknownDate{2000, 1, 1};
constexpr int32_t kFirstEdfYear = 1985;
constexpr int32_t kLastEdfYear = 2084;
// A stored sample less its baseline.
constexpr int kDigitalMaximum = kLargestSampleExcursion;
constexpr int kDigitalMinimum = -kBaselineSample;

int recordSamples(size_t samples) {
    for (int n : kRecordSamples)
        if (samples % static_cast<size_t>(n) == 0) return n;
    return kRecordSamples.back();
}

bool setUpSignals(int h, const ExportContent& c, int samplesPerRecord) {
    const double microvoltsPerUnit = 1000.0 / c.unitsPerMv;
    static constexpr const char* kLabels[] = {"ECG1", "ECG2"};
    for (int s = 0; s < 2; ++s) {
        if (edf_set_samplefrequency(h, s, samplesPerRecord) != 0 ||
            edf_set_digital_maximum(h, s, kDigitalMaximum) != 0 ||
            edf_set_digital_minimum(h, s, kDigitalMinimum) != 0 ||
            edf_set_physical_maximum(h, s, kDigitalMaximum * microvoltsPerUnit) != 0 ||
            edf_set_physical_minimum(h, s, kDigitalMinimum * microvoltsPerUnit) != 0 ||
            edf_set_label(h, s, kLabels[s]) != 0 || edf_set_physical_dimension(h, s, "uV") != 0)
            return false;
    }
    if (edf_set_datarecord_duration(h, samplesPerRecord * kDurationUnitsPerSample) != 0) return false;
    const int t = c.startSecondOfDay;
    const CalendarDate d = c.startDate && c.startDate->year >= kFirstEdfYear && c.startDate->year <= kLastEdfYear
                               ? *c.startDate
                               : kUnknownDate;
    edf_set_startdatetime(h, d.year, d.month, d.day, t / kSecondsPerHour % 24, t / kSecondsPerMinute % 60,
                          t % kSecondsPerMinute);
    edf_set_patientname(h, c.patient.substr(0, 60).c_str());
    edf_set_equipment(h, "Lumen");
    return true;
}

bool writeSignal(int h, const ExportContent& c, int samplesPerRecord) {
    std::array<short, kSamplesPerSecond> record;
    const auto step = static_cast<size_t>(samplesPerRecord);
    for (size_t at = 0; at < c.channel1.size(); at += step) {
        for (const std::vector<uint8_t>* channel : {&c.channel1, &c.channel2}) {
            for (size_t i = 0; i < step; ++i)
                record[i] = at + i < channel->size() ? static_cast<short>((*channel)[at + i] - kBaselineSample) : 0;
            if (edfwrite_digital_short_samples(h, record.data()) != 0) return false;
        }
    }
    return true;
}

bool writeAnnotations(int h, const ExportContent& c) {
    for (const ExportBeat& b : c.beats) {
        if (b.leadOff) continue;
        const char label[2] = {BeatLabels::mnemonicOf(b.beatClass), 0};
        if (edfwrite_annotation_utf8(h, b.quarterTicks * kAnnotationUnitsPerQuarterTick, -1, label) != 0) return false;
    }
    for (const ExportEvent& e : c.events) {
        const long long duration =
            e.endTenths > e.startTenths ? (e.endTenths - e.startTenths) * kAnnotationUnitsPerTenth : -1;
        if (edfwrite_annotation_utf8(h, e.startTenths * kAnnotationUnitsPerTenth, duration, e.name.c_str()) != 0)
            return false;
    }
    return true;
}

}  // namespace

std::string EdfExport::write(const std::string& path, const ExportContent& content) {
    // Written under a scratch name of our own and renamed when whole: the
    // target never holds half a file, and no other file is touched.
    const std::filesystem::path target(path);
    const std::string scratch = utf8FromPath(
        scratchPathIn(target.parent_path().empty() ? "." : target.parent_path(), utf8FromPath(target.filename())));
    const int h = edfopen_file_writeonly(scratch.c_str(), EDFLIB_FILETYPE_EDFPLUS, 2);
    if (h < 0)
        return "Cannot create " + scratch + " (EDFlib error " + std::to_string(h) + "); check that the folder of " +
               path + " exists and can be written.";
    // EDFlib spreads the annotations over the data records, room for one
    // per annotation signal: a few a second.
    const int samplesPerRecord = recordSamples(content.channel1.size());
    edf_set_number_of_annotation_signals(
        h, std::max(1, kAnnotationSignalsPerSecondRecord * samplesPerRecord / kSamplesPerSecond));
    const bool ok = setUpSignals(h, content, samplesPerRecord) && writeSignal(h, content, samplesPerRecord) &&
                    writeAnnotations(h, content);
    const bool closed = edfclose_file(h) == 0;
    std::error_code error;
    if (ok && closed) std::filesystem::rename(scratch, path, error);
    if (!ok || !closed || error) {
        std::filesystem::remove(scratch, error);
        return "Cannot write " + path + "; check the free space and that it is no folder. It was left as it was.";
    }
    return {};
}

}  // namespace lumen
