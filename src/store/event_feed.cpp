// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/event_feed.h"

#include <algorithm>
#include <array>

#include "store/episode_record.h"
#include "store/event_sink.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

EpisodeRecord readEpisode(const Recording& recording, SectionPlace episodes, uint32_t index) {
    std::array<uint8_t, kEpisodeRecordBytes> bytes;
    recording.file().readAt(uint64_t{episodes.offset} + uint64_t{index} * kEpisodeRecordBytes, bytes);
    return EpisodeRecord::parse(bytes);
}

// Sections 22 and 23: the measured interval's middle, at its time of day.
void feedHeartRateExtreme(Recording& recording, SectionId section, uint8_t code, EventSink& sink,
                          int32_t& blockPositionTicks) {
    recording.selectSection(section);
    std::array<uint8_t, kEpisodeRecordBytes> bytes;
    recording.file().readAt(recording.selectedSection().offset, bytes);
    const EpisodeRecord record = EpisodeRecord::parse(bytes);
    const int32_t position = static_cast<int32_t>((int64_t{record.startTenths} + record.endTenths) * 5 / 2);
    sink.dispatchCode(code, position, record.timeOfDayTicks(), -1);
    blockPositionTicks = position;
}

}  // namespace

int32_t recordingStartTick(Recording& recording) {
    recording.selectSection(SectionId::RecordingClock);
    const uint32_t at = recording.selectedSection().offset;
    const RecordingFile& file = recording.file();
    return (file.readU8(at + 5) * 60 + file.readU8(at + 4)) * kTicksPerMinute + file.readU8(at + 3) * kTicksPerSecond;
}

void feedEvents(Recording& recording, TrendTable& trends, EventSink& sink) {
    const int32_t start = recordingStartTick(recording);
    recording.selectSection(SectionId::HeartRate);
    // In the 32-bit arithmetic of the time line: a heart-rate table that
    // claims more blocks than 24 bits of ticks hold wraps around.
    const uint32_t spanTicks = recording.selectedSection().length * static_cast<uint32_t>(kSamplesPerBlock);
    sink.setRecordingSpan(start, static_cast<int32_t>(static_cast<uint32_t>(start) + spanTicks));

    const auto& words = recording.beats().words();
    const auto leadOff =
        std::count_if(words.begin(), words.end(), [](BeatWord w) { return w.formCode() == kNoFormCode; });
    recording.chargeEventMemory(static_cast<uint64_t>(leadOff) * kEventMemoryBytes);
    for (const BeatWord word : words) {
        if (word.formCode() == kNoFormCode) sink.dispatchCode(kLeadOffCode, word.sample() - 5, 0, -1);
    }
    recording.selectSection(SectionId::Markers);
    const SectionPlace markers = recording.selectedSection();
    recording.chargeEventMemory(uint64_t{markers.length / kMarkerBytes} * kEventMemoryBytes);
    for (uint32_t i = 0; i < markers.length / kMarkerBytes; ++i) {
        const uint32_t tenths = recording.file().readU24(uint64_t{markers.offset} + uint64_t{i} * kMarkerBytes);
        sink.dispatchCode(kMarkerCode, static_cast<int32_t>(tenths * 5), 0, -1);
    }
    int32_t position = 0;
    feedHeartRateExtreme(recording, SectionId::HeartRateMin, kHeartRateMinimumCode, sink, position);
    trends.setHeartRateMinimumBlock(position);
    feedHeartRateExtreme(recording, SectionId::HeartRateMax, kHeartRateMaximumCode, sink, position);
    trends.setHeartRateMaximumBlock(position);

    recording.selectSection(SectionId::Episodes);
    const SectionPlace episodes = recording.selectedSection();
    recording.chargeEventMemory(uint64_t{episodes.length / kEpisodeRecordBytes} * kEventMemoryBytes);
    for (uint32_t i = 0; i < episodes.length / kEpisodeRecordBytes; ++i) {
        const EpisodeRecord record = readEpisode(recording, episodes, i);
        const auto code = static_cast<uint8_t>(record.code + (record.flagged ? 0x80 : 0));
        sink.dispatchCode(code, record.startTicks(), record.timeOfDayTicks(), static_cast<int32_t>(i));
    }
    trends.postStExtremes(sink);
}

bool deleteEpisode(Recording& recording, TrendTable& trends, EventSink& sink, uint8_t code, int32_t positionTicks,
                   int32_t episodeIndex) {
    if (code == kHeartRateMinimumCode || code == kHeartRateMaximumCode || code == kStMinimumCode ||
        code == kStMaximumCode) {
        trends.excludeExtreme(code, sink, positionTicks);
    }
    if (episodeIndex == -1 || positionTicks == -1) return true;
    const bool found = recording.selectSection(SectionId::Episodes);
    const SectionPlace episodes = recording.selectedSection();
    const EpisodeRecord record = readEpisode(recording, episodes, static_cast<uint32_t>(episodeIndex));
    const uint8_t artefact = kArtefactCode;
    const uint64_t codeAt =
        uint64_t{episodes.offset} + uint64_t(episodeIndex) * kEpisodeRecordBytes + EpisodeRecord::kCodeOffset;
    // Nothing is written where the directory does not name the section.
    const auto codeByte = std::span(&artefact, 1);
    const bool written = found ? recording.file().writeAt(codeAt, codeByte) : recording.file().holds(codeAt, codeByte);

    for (BeatWord& word : recording.beats().words()) {
        const int32_t sample = word.sample();
        if (sample < positionTicks || sample > record.endTicks()) continue;
        if (word.formCode() == kNoFormCode || word.beatClass() == BeatClass::Artefact) continue;
        sink.dispatchCodeSorted(kArtefactCode, sample, 0, -1);
        word = BeatWord::make(word.positionQuarterTicks(), BeatClass::Artefact, word.formCode());
    }
    return written;
}

}  // namespace lumen
