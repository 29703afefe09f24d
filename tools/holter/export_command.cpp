// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/export_command.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "assembly/recording_sidecar.h"
#include "holter/export_target.h"
#include "holter/recording_opener.h"
#include "import/edf/edf_export.h"
#include "import/export_content.h"
#include "import/wfdb/wfdb_export.h"
#include "store/clock.h"
#include "store/episode_record.h"
#include "store/event_feed.h"
#include "store/section_id.h"

namespace lumen {
namespace {

constexpr uint8_t kNoBeatForm = 30;

// The stored blocks, cut to the source's length where the recording knows
// it (the last block is padded with baseline).
void readSignal(Recording& recording, const SourceNotes& notes, ExportContent& c) {
    recording.selectBlockIndex();
    std::array<uint8_t, kSamplesPerBlock> one;
    std::array<uint8_t, kSamplesPerBlock> two;
    for (int32_t b = 0; b < recording.blockCount(); ++b) {
        recording.fetchBlock(one, two, b, b);
        c.channel1.insert(c.channel1.end(), one.begin(), one.end());
        c.channel2.insert(c.channel2.end(), two.begin(), two.end());
    }
    if (notes.sourceTicks && static_cast<size_t>(*notes.sourceTicks) < c.channel1.size()) {
        c.channel1.resize(static_cast<size_t>(*notes.sourceTicks));
        c.channel2.resize(static_cast<size_t>(*notes.sourceTicks));
    }
}

void readBeats(Recording& recording, ExportContent& c) {
    recording.beats().load(recording);
    for (const BeatWord w : recording.beats().words()) {
        const auto beatClass = static_cast<uint8_t>(w.beatClass());
        if (w.positionQuarterTicks() == 0 || (w.formCode() == kNoBeatForm && beatClass == 1)) continue;
        c.beats.push_back({static_cast<int32_t>(w.positionQuarterTicks()), beatClass, w.formCode() == kNoFormCode});
    }
}

void readEvents(Recording& recording, const SourceNotes& notes, ExportContent& c) {
    recording.selectSection(SectionId::Episodes);
    const SectionPlace episodes = recording.selectedSection();
    for (uint32_t i = 0; i < episodes.length / kEpisodeRecordBytes; ++i) {
        std::array<uint8_t, kEpisodeRecordBytes> bytes;
        recording.file().readAt(uint64_t{episodes.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
        const EpisodeRecord e = EpisodeRecord::parse(bytes);
        const std::string name = episodeName(e.code);
        if (!name.empty())
            c.events.push_back({static_cast<int32_t>(e.startTenths), static_cast<int32_t>(e.endTenths), name});
    }
    recording.selectSection(SectionId::Markers);
    const SectionPlace markers = recording.selectedSection();
    for (uint32_t i = 0; i < markers.length / kMarkerBytes; ++i) {
        const auto tenths =
            static_cast<int32_t>(recording.file().readU24(uint64_t{markers.offset} + uint64_t{i} * kMarkerBytes));
        const std::string text = notes.textAt(tenths);
        c.events.push_back({tenths, tenths, text.empty() ? kManualEventName : text});
    }
}

}  // namespace

int runExport(const ToolArguments& arguments) {
    const auto edf = arguments.option("--edf");
    const auto wfdb = arguments.option("--wfdb");
    if (edf.has_value() == wfdb.has_value() || arguments.positional.size() > 1) return 2;
    if (const std::string refused = edf ? ExportTarget::checkFile(*edf) : ExportTarget::checkFolder(*wfdb);
        !refused.empty()) {
        std::fprintf(stderr, "%s\n", refused.c_str());
        return 255;
    }
    auto recording = openRecording(arguments, 0);
    ExportContent content;
    // The known codes give their units per millivolt negated (the strip
    // draws upward); an unknown code is its own scale.
    const int8_t units = recording->amplitudeCode();
    content.unitsPerMv = units != 0 ? std::abs(units) : 51.0;
    content.startSecondOfDay = recordingStartTick(*recording) / kTicksPerSecond;
    std::string warning;
    const SourceNotes notes = RecordingSidecar::read(recording->recordingDirectory(), warning);
    if (!warning.empty()) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    content.startDate = notes.startDate;
    content.patient = recording->readPatientLine();
    while (!content.patient.empty() && (content.patient.back() == '\n' || content.patient.back() == '\r'))
        content.patient.pop_back();
    readSignal(*recording, notes, content);
    readBeats(*recording, content);
    readEvents(*recording, notes, content);
    const std::string problem = edf ? EdfExport::write(*edf, content) : WfdbExport::write(*wfdb, content);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 255;
    }
    std::printf("exported %zu blocks, %zu beats and %zu events to %s\n",
                (content.channel1.size() + kSamplesPerBlock - 1) / kSamplesPerBlock, content.beats.size(),
                content.events.size(), (edf ? *edf : *wfdb).c_str());
    return 0;
}

}  // namespace lumen
