#include "import/edf/edf_export.h"

#include <edflib.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "import/beat_labels.h"
#include "platform/file/scratch_path.h"
#include "platform/file/utf8_path.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr int kSamplesPerRecord = 50;                     // one second at 50 Hz
constexpr long long kAnnotationUnitsPerQuarterTick = 50;  // EDFlib counts 100 µs
constexpr long long kAnnotationUnitsPerTenth = 1000;
// A stored sample less its baseline.
constexpr int kDigitalMaximum = kLargestSampleExcursion;
constexpr int kDigitalMinimum = -kBaselineSample;

bool setUpSignals(int h, const ExportContent& c) {
    const double microvoltsPerUnit = 1000.0 / c.unitsPerMv;
    static constexpr const char* kLabels[] = {"ECG1", "ECG2"};
    for (int s = 0; s < 2; ++s) {
        if (edf_set_samplefrequency(h, s, kSamplesPerRecord) != 0 ||
            edf_set_digital_maximum(h, s, kDigitalMaximum) != 0 ||
            edf_set_digital_minimum(h, s, kDigitalMinimum) != 0 ||
            edf_set_physical_maximum(h, s, kDigitalMaximum * microvoltsPerUnit) != 0 ||
            edf_set_physical_minimum(h, s, kDigitalMinimum * microvoltsPerUnit) != 0 ||
            edf_set_label(h, s, kLabels[s]) != 0 || edf_set_physical_dimension(h, s, "uV") != 0)
            return false;
    }
    const int t = c.startSecondOfDay;
    edf_set_startdatetime(h, 2000, 1, 1, t / kSecondsPerHour % 24, t / kSecondsPerMinute % 60, t % kSecondsPerMinute);
    edf_set_patientname(h, c.patient.substr(0, 60).c_str());
    edf_set_equipment(h, "Lumen");
    return true;
}

bool writeSignal(int h, const ExportContent& c) {
    std::array<short, kSamplesPerRecord> record;
    for (size_t at = 0; at + kSamplesPerRecord <= c.channel1.size(); at += kSamplesPerRecord) {
        for (const std::vector<uint8_t>* channel : {&c.channel1, &c.channel2}) {
            for (int i = 0; i < kSamplesPerRecord; ++i)
                record[i] = static_cast<short>((*channel)[at + i] - kBaselineSample);
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
    // Beats come about once a second; EDFlib spreads the annotations over
    // the data records, so reserve room for a few per record.
    edf_set_number_of_annotation_signals(h, 8);
    const bool ok = setUpSignals(h, content) && writeSignal(h, content) && writeAnnotations(h, content);
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
