// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/import_summary.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace lumen {
namespace {

// What the record lacked or what was left out, for the summary line.
void describeGaps(const SourceRecording& source, const ImportedRecording& imported, bool detect, std::ostream& s) {
    const SignalSource& signal = *source.signal;
    for (int c : imported.signal.deadChannels) {
        s << "; channel " << c + 1 << " (" << signal.channelLabel(c)
          << ") carries no signal: it is flat or at the converter's limit throughout";
    }
    if (source.unknownLabels > 0) s << "; " << source.unknownLabels << " annotations with unknown labels skipped";
    if (!detect && !source.hasBeatAnnotations)
        s << "; no beat annotations: beats found and classified by the analysis";
    else if (imported.analysed)
        s << "; beats found and classified by the analysis";
}

}  // namespace

std::string importSummary(const SourceRecording& source, const ImportedRecording& imported, const std::string& home,
                          bool detect) {
    const RecordingImage& r = imported.recording;
    size_t byClass[kBeatClassCount] = {};
    for (const PlannedBeat& b : r.plan.beats)
        if (b.formCode != kFormNone) ++byClass[b.beatClass % kBeatClassCount];
    const SignalSource& signal = *source.signal;
    std::ostringstream s;
    s << "imported " << source.format << " record " << source.name << " (" << signal.frequencyHz() << " Hz, ";
    if (source.signalAbsent)
        s << "beats only";
    else
        s << signal.channelLabel(0) << (signal.channelCount() > 1 ? " + " + signal.channelLabel(1) : "");
    s << ") into " << home << ": " << r.plan.blockCount() << " blocks, amplitude code " << int{r.amplitudeCode} << ", "
      << r.plan.beats.size() << " beats (N " << byClass[0] << ", S " << byClass[1] << ", V " << byClass[2] << ", A "
      << byClass[3] << ", lead off " << imported.leadOffBeats << "), " << r.plan.episodes.size() << " episodes, "
      << r.plan.markerTenths.size() << " markers";
    if (imported.secondVentricularForm > 0)
        s << "; " << imported.secondVentricularForm << " ventricular beats of a second form";
    if (imported.signal.duplicated) s << "; one channel only: shown twice";
    describeGaps(source, imported, detect, s);
    const auto& st = r.trends.st1;
    if (std::count(st.begin(), st.end(), kStNoValue) == static_cast<long>(st.size()))
        s << "; no ST level could be measured: the ST tables are empty";
    return s.str();
}

}  // namespace lumen
