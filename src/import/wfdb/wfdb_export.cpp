// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_export.h"

#include <filesystem>

#include "import/beat_labels.h"
#include "import/signal_conditioner.h"
#include "import/wfdb/wfdb_writer.h"
#include "platform/file/scratch_path.h"
#include "platform/file/utf8_path.h"
#include "store/clock.h"
#include "store/time_units.h"

namespace lumen {

std::string WfdbExport::write(const std::string& directory, const ExportContent& c) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::absolute(pathFromUtf8(directory), error).lexically_normal();
    std::string record = utf8FromPath(target.filename());
    if (record.empty() || record.find_first_of(" \t") != std::string::npos) record = "lumen";
    if (fs::exists(target, error)) return utf8FromPath(target) + " exists";
    const fs::path scratch = scratchPathIn(target.parent_path(), record);
    fs::create_directories(scratch, error);
    if (error) return "cannot create " + utf8FromPath(scratch) + ": " + error.message();

    WfdbWriter writer(scratch, record, kStoredRateHz, {{"ECG1", c.unitsPerMv, 0}, {"ECG2", c.unitsPerMv, 0}});
    writer.setStart(c.startSecondOfDay, c.startDate);
    std::vector<int16_t> samples[2];
    constexpr size_t kChunk = 1 << 16;
    bool ok = true;
    for (size_t at = 0; ok && at < c.channel1.size(); at += kChunk) {
        const size_t n = std::min(kChunk, c.channel1.size() - at);
        for (int k = 0; k < 2; ++k) {
            const std::vector<uint8_t>& channel = k == 0 ? c.channel1 : c.channel2;
            samples[k].resize(n);
            for (size_t i = 0; i < n; ++i) samples[k][i] = static_cast<int16_t>(channel[at + i] - kBaselineSample);
        }
        ok = writer.append(samples, n);
    }
    std::vector<WfdbAnnotation> annotations;
    for (const ExportBeat& b : c.beats) {
        if (b.leadOff) continue;
        const char mnemonic[2] = {BeatLabels::mnemonicOf(b.beatClass), 0};
        annotations.push_back({ticksOfQuarterTicks(b.quarterTicks + kQuarterTicksPerTick / 2),
                               WfdbAnnotations::codeOf(mnemonic),
                               0,
                               0,
                               0,
                               {}});
    }
    ok =
        writer.finish(annotations, {" " + c.patient, " exported by Lumen: 50 Hz as stored, labels as corrected"}) && ok;
    if (ok) fs::rename(scratch, target, error);
    if (!ok || error) {
        fs::remove_all(scratch, error);
        return "cannot write the record in " + utf8FromPath(target);
    }
    return {};
}

}  // namespace lumen
