// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/info_command.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "assembly/episode_rules.h"
#include "assembly/recording_sidecar.h"
#include "holter/fed_recording.h"
#include "holter/home_patient.h"
#include "holter/recording_opener.h"
#include "lang/beat_statistics_text.h"
#include "lang/json_text.h"
#include "store/clock.h"
#include "store/episode_record.h"
#include "store/section_id.h"

namespace lumen {
namespace {

constexpr const char* kEnglishStatistics = "NORMAL / VES / SVES beats: %ld (%.2lf%%) / %ld (%.2lf%%) / %ld (%.2lf%%)";

uint32_t sectionLength(const Recording& recording, SectionId id) {
    const auto place = recording.directory().find(id);
    return place ? place->length : 0;
}

int32_t startTick(Recording& recording) {
    recording.selectSection(SectionId::RecordingClock);
    const uint32_t at = recording.selectedSection().offset;
    const RecordingFile& file = recording.file();
    return (file.readU8(at + 5) * 60 + file.readU8(at + 4)) * 3000 + file.readU8(at + 3) * 50;
}

uint8_t amplitudeByte(Recording& recording) {
    recording.selectSection(SectionId::Patient);
    return recording.file().readU8(uint64_t{recording.selectedSection().offset} + kPatientAmplitudeOffset);
}

constexpr int kBurdenDecimals = 2;
constexpr double kPercent = 100.0;

// The atrial fibrillation episodes as [first tick, last tick] and the share
// of the recording's length they cover.
void addAtrialFibrillation(Recording& recording, int32_t lengthTicks, JsonText& json) {
    recording.selectSection(SectionId::Episodes);
    const SectionPlace place = recording.selectedSection();
    std::vector<std::pair<int32_t, int32_t>> episodes;
    int64_t coveredTicks = 0;
    for (uint32_t i = 0; i < place.length / kEpisodeRecordBytes; ++i) {
        std::array<uint8_t, kEpisodeRecordBytes> bytes;
        recording.file().readAt(uint64_t{place.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
        const EpisodeRecord e = EpisodeRecord::parse(bytes);
        if (e.code != EpisodeRules::kAtrialFibrillation) continue;
        episodes.emplace_back(e.startTicks(), e.endTicks());
        coveredTicks += e.endTicks() - e.startTicks();
    }
    const double burden = lengthTicks > 0 ? kPercent * static_cast<double>(coveredTicks) / lengthTicks : 0.0;
    json.beginObject("atrialFibrillation").decimal("burdenPercent", std::min(burden, kPercent), kBurdenDecimals);
    json.beginArray("episodes");
    for (const auto& [first, last] : episodes) json.numbers({}, {first, last});
    json.endArray().endObject();
}

}  // namespace

int runInfo(const ToolArguments& arguments) {
    const auto fed = feedRecording(arguments);
    Recording* recording = fed->recording.get();
    const BeatList& beats = recording->beats();
    const BeatCounts& counts = beats.counts();
    const Clock start = recording->startClock();
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02u:%02u:%02u", start.hour, start.minute, start.second);

    std::string warning;
    const SourceNotes notes = RecordingSidecar::read(recording->recordingDirectory(), warning);
    if (!warning.empty()) std::fprintf(stderr, "warning: %s\n", warning.c_str());

    JsonText json;
    json.beginObject()
        .number("blocks", recording->blockCount())
        .string("startClock", clock)
        .number("startTick", startTick(*recording))
        .number("amplitudeCode", amplitudeByte(*recording))
        .string("patient", homePatientText(*recording, arguments.programDirectory));
    if (notes.startDate)
        json.string("startDate", notes.startDate->iso());
    else
        json.null("startDate");
    json.beginObject("beats")
        .number("total", static_cast<int64_t>(beats.size()))
        .number("N", counts.byClass[0])
        .number("S", counts.byClass[1])
        .number("V", counts.byClass[2])
        .number("A", counts.byClass[3])
        .number("noForm", counts.noForm)
        .endObject()
        .number("episodes", sectionLength(*recording, SectionId::Episodes) / kEpisodeRecordBytes)
        .number("markers", sectionLength(*recording, SectionId::Markers) / kMarkerBytes)
        .number("trendBlocks", sectionLength(*recording, SectionId::TrendFlags));
    json.beginObject("rows");
    for (int32_t row = 0; row < kCategoryRowCount + 1; ++row)
        json.number(fed->rowName(row), fed->catalog->row(row).count());
    json.endObject().string("statistics", beatStatisticsText(kEnglishStatistics, beats.counts()));
    addAtrialFibrillation(*recording, notes.sourceTicks.value_or(recording->blockCount() * kSamplesPerBlock), json);
    json.endObject();
    std::printf("%s\n", json.text().c_str());
    return 0;
}

int runDecode(const ToolArguments& arguments) {
    const auto& words = arguments.positional;
    if (words.empty() || words.size() > 3) return 2;
    // FIRST [COUNT] are the last one or two words; a word before them is RECDIR.
    const bool withCount = words.size() == 3 || (words.size() == 2 && parseInteger(words[0]).has_value());
    const size_t firstAt = words.size() - (withCount ? 2 : 1);
    const auto first = parseInteger(words[firstAt]);
    const auto count = withCount ? parseInteger(words[firstAt + 1]) : std::optional<long>(1);
    if (!first || !count || *first < 0 || *count < 0 || *first > INT32_MAX - *count) return 2;

    ToolArguments recordingOnly = arguments;
    recordingOnly.positional.resize(firstAt);
    auto recording = openRecording(recordingOnly, 0);
    recording->selectBlockIndex();
    std::array<uint8_t, kSamplesPerBlock> channel1;
    std::array<uint8_t, kSamplesPerBlock> channel2;
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    for (long block = *first; block < *first + *count; ++block) {
        const auto n = static_cast<int32_t>(block);
        const Clock clock = recording->fetchBlock(channel1, channel2, n, n);
        std::printf("block %d %02u:%02u:%02u\n", n, clock.hour, clock.minute, clock.second);
        char lines[500 * 8 + 16];
        size_t used = 0;
        for (size_t i = 0; i < 500; ++i) {
            used += static_cast<size_t>(
                std::snprintf(lines + used, sizeof lines - used, "%u %u\n", channel1[i], channel2[i]));
        }
        std::fwrite(lines, 1, used, stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace lumen
