// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/study_input.h"

#include <array>
#include <string>

#include "assembly/episode_rules.h"
#include "assembly/recording_sidecar.h"
#include "store/episode_record.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

void readEpisodes(Recording& recording, StudyInput& input) {
    if (!recording.selectSection(SectionId::Episodes)) return;
    const SectionPlace place = recording.selectedSection();
    for (uint32_t i = 0; i < place.length / kEpisodeRecordBytes; ++i) {
        std::array<uint8_t, kEpisodeRecordBytes> bytes;
        recording.file().readAt(uint64_t{place.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
        const EpisodeRecord e = EpisodeRecord::parse(bytes);
        if (e.code == EpisodeRules::kAtrialFibrillation)
            input.fibrillationTicks.emplace_back(e.startTicks(), e.endTicks());
        if (e.code == EpisodeRules::kArtefact) input.artefactTicks.emplace_back(e.startTicks(), e.endTicks());
    }
}

int32_t recordingStartTickOfDay(Recording& recording) {
    recording.selectSection(SectionId::RecordingClock);
    const uint32_t at = recording.selectedSection().offset;
    const RecordingFile& file = recording.file();
    return file.readU8(at + 5) * kTicksPerHour + file.readU8(at + 4) * kTicksPerMinute +
           file.readU8(at + 3) * kTicksPerSecond;
}

}  // namespace

StudyInput StudyInput::read(Recording& recording, const TrendTable& trends, int64_t flaggedEvents) {
    StudyInput input;
    const auto words = recording.beats().words();
    input.words.assign(words.begin(), words.end());
    readEpisodes(recording, input);
    input.trendFlags = trends.flags();
    input.stChannel1 = trends.stChannel1();
    input.stChannel2 = trends.stChannel2();
    input.startTickOfDay = recordingStartTickOfDay(recording);
    std::string warning;
    const SourceNotes notes = RecordingSidecar::read(recording.recordingDirectory(), warning);
    input.startDate = notes.startDate;
    input.lengthTicks = notes.sourceTicks.value_or(recording.blockCount() * kSamplesPerBlock);
    input.flaggedEvents = flaggedEvents;
    return input;
}

}  // namespace lumen
