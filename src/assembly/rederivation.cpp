// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/rederivation.h"

#include <algorithm>
#include <array>
#include <span>

#include "assembly/episode_rules.h"
#include "assembly/recording_image.h"
#include "store/episode_record.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "store/time_units.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

using RecordBytes = std::array<uint8_t, kEpisodeRecordBytes>;

// A stored or derived episode record, with what its place in the section
// depends on.
struct Record {
    RecordBytes bytes{};
    uint32_t startTenths = 0;
    bool fibrillation = false;
};

// A stretch of bytes the update must write.
struct Write {
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

constexpr uint32_t kDirectoryLengthOffset = 6;
constexpr uint32_t kDirectoryOffsetOffset = 9;
constexpr uint64_t kLargestSectionOffset = (uint64_t{1} << 24) - 1;

std::vector<PlannedBeat> plannedBeats(std::span<const BeatWord> words) {
    std::vector<PlannedBeat> beats;
    beats.reserve(words.size());
    for (const BeatWord w : words) {
        PlannedBeat b;
        b.positionQuarterTicks = static_cast<int32_t>(w.positionQuarterTicks());
        b.beatClass = static_cast<uint8_t>(w.beatClass());
        b.formCode = w.formCode();
        beats.push_back(b);
    }
    return beats;
}

// The recording's start clock and length, as the episode and extreme
// records need them for their times of day.
RhythmPlan clockPlan(Recording& recording) {
    RhythmPlan plan;
    recording.selectSection(SectionId::RecordingClock);
    const uint32_t at = recording.selectedSection().offset;
    const RecordingFile& file = recording.file();
    plan.start = Clock{file.readU8(at + 5), file.readU8(at + 4), file.readU8(at + 3)};
    return plan;
}

std::vector<Record> storedRecords(Recording& recording, SectionPlace place) {
    std::vector<Record> out(place.length / kEpisodeRecordBytes);
    for (size_t i = 0; i < out.size(); ++i) {
        recording.file().readAt(place.offset + i * kEpisodeRecordBytes, out[i].bytes);
        const EpisodeRecord parsed = EpisodeRecord::parse(out[i].bytes);
        out[i].startTenths = parsed.startTenths;
        out[i].fibrillation = parsed.code == EpisodeRules::kAtrialFibrillation;
    }
    return out;
}

// The episodes the labels give, inside the stored fibrillation, merged with
// the stored episodes that the labels do not make, in storage order.
std::vector<Record> derivedRecords(const std::vector<PlannedBeat>& beats, const std::vector<Record>& stored,
                                   RhythmPlan& plan) {
    std::vector<std::pair<int64_t, int64_t>> fibrillation;
    std::vector<Record> kept;
    for (const Record& r : stored) {
        const EpisodeRecord parsed = EpisodeRecord::parse(r.bytes);
        if (Rederivation::derivedFromLabels(parsed.code)) continue;
        kept.push_back(r);
        if (r.fibrillation)
            fibrillation.emplace_back(quarterTicksOfTenths(parsed.startTenths), quarterTicksOfTenths(parsed.endTenths));
    }
    plan.episodes = EpisodeRules::derive(beats, EpisodeRules::fibrillationOf(beats, fibrillation));
    std::erase_if(plan.episodes, [](const PlannedEpisode& e) { return !Rederivation::derivedFromLabels(e.code); });
    EpisodeRules::flagForReport(plan.episodes);
    const std::vector<uint8_t> bytes = RecordingAssembler::episodeRecords(plan);
    std::vector<Record> out;
    for (size_t i = 0; i < plan.episodes.size(); ++i) {
        Record r;
        std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(i * kEpisodeRecordBytes), kEpisodeRecordBytes,
                    r.bytes.begin());
        r.startTenths = static_cast<uint32_t>(plan.episodes[i].startTenths);
        out.push_back(r);
    }
    out.insert(out.end(), kept.begin(), kept.end());
    std::stable_sort(out.begin(), out.end(), [](const Record& a, const Record& b) {
        return a.fibrillation != b.fibrillation ? b.fibrillation : a.startTenths < b.startTenths;
    });
    return out;
}

int32_t directoryEntryOf(const RecordingFile& file, SectionId id) {
    const uint8_t count = file.readU8(0);
    for (int32_t i = 0; i < std::min<int32_t>(count, kMaxSections); ++i)
        if (file.readU8(1 + uint64_t{kDirectoryEntryBytes} * static_cast<uint32_t>(i)) == static_cast<uint8_t>(id))
            return i;
    return -1;
}

std::vector<uint8_t> u24(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
}

// The episode section: in its old place when it still fits there, else
// appended to the file; the directory entry follows.
bool addEpisodeWrites(const RecordingFile& file, SectionPlace place, int32_t entry, const std::vector<Record>& records,
                      std::vector<Write>& writes) {
    std::vector<uint8_t> bytes;
    for (const Record& r : records) bytes.insert(bytes.end(), r.bytes.begin(), r.bytes.end());
    const auto length = static_cast<uint32_t>(bytes.size());
    uint64_t offset = place.offset;
    if (length > place.length) offset = file.size();
    if (offset + length > kLargestSectionOffset) return false;
    const uint64_t at = 1 + uint64_t{kDirectoryEntryBytes} * static_cast<uint32_t>(entry);
    writes.push_back({at + kDirectoryLengthOffset, u24(length)});
    writes.push_back({at + kDirectoryOffsetOffset, u24(static_cast<uint32_t>(offset))});
    writes.push_back({offset, std::move(bytes)});
    return true;
}

void addExtremeWrites(Recording& recording, const TrendTable& trends, const RhythmPlan& plan,
                      std::vector<Write>& writes) {
    TrendTables tables;
    tables.heartRate = trends.heartRate();
    const std::pair<SectionId, int32_t> extremes[] = {{SectionId::HeartRateMin, trends.heartRateMinimumBlock()},
                                                      {SectionId::HeartRateMax, trends.heartRateMaximumBlock()}};
    for (const auto& [id, block] : extremes) {
        if (!recording.selectSection(id) || tables.heartRate.empty()) continue;
        const auto record = RecordingAssembler::extremeRecord(plan, tables, std::max(block, 0));
        writes.push_back({recording.selectedSection().offset, record});
    }
}

bool tablesHeld(Recording& recording, const TrendTable& trends) {
    const std::pair<SectionId, std::span<const uint8_t>> tables[] = {
        {SectionId::TrendFlags, trends.flags()},
        {SectionId::HeartRate, trends.heartRate()},
        {SectionId::StChannel1,
         std::span(reinterpret_cast<const uint8_t*>(trends.stChannel1().data()), trends.stChannel1().size())},
        {SectionId::StChannel2,
         std::span(reinterpret_cast<const uint8_t*>(trends.stChannel2().data()), trends.stChannel2().size())}};
    for (const auto& [id, bytes] : tables)
        if (recording.selectSection(id) && !recording.file().holds(recording.selectedSection().offset, bytes))
            return false;
    return true;
}

}  // namespace

bool Rederivation::derivedFromLabels(uint8_t code) {
    using E = EpisodeRules;
    static constexpr uint8_t kCodes[] = {
        E::kVentricularIsolated,        E::kVentricularCouplet,     E::kVentricularRun,
        E::kVentricularBigeminy,        E::kVentricularTachycardia, E::kSupraventricularIsolated,
        E::kSupraventricularCouplet,    E::kSupraventricularRun,    E::kPause,
        E::kSupraventricularTachycardia};
    return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

RederivationResult Rederivation::run(Recording& recording, TrendTable& trends) {
    RederivationResult result;
    const std::vector<PlannedBeat> beats = plannedBeats(recording.beats().words());
    RhythmPlan plan = clockPlan(recording);
    RecordingFile& file = recording.file();
    const int32_t entry = directoryEntryOf(file, SectionId::Episodes);
    if (entry < 0 || !recording.selectSection(SectionId::Episodes)) {
        result.problem = "it has no section of episodes to derive them into";
        return result;
    }
    const SectionPlace place = recording.selectedSection();
    const std::vector<Record> stored = storedRecords(recording, place);
    const std::vector<Record> derived = derivedRecords(beats, stored, plan);
    result.episodesBefore = stored.size();
    result.episodesAfter = derived.size();

    trends.rebuildHeartRate(recording.beats());
    trends.searchHeartRateExtremes();
    std::vector<Write> writes;
    if (!addEpisodeWrites(file, place, entry, derived, writes)) {
        result.problem = "its episodes would lie past the 16 MiB that 24-bit offsets address";
        return result;
    }
    addExtremeWrites(recording, trends, plan, writes);
    std::erase_if(writes, [&](const Write& w) { return file.holds(w.offset, w.bytes); });
    result.changed = !writes.empty() || !tablesHeld(recording, trends) || !recording.beats().saved(recording);
    if (!result.changed) {
        result.saved = true;
        return result;
    }
    file.beginUpdate();
    // The section first, then the directory that points at it.
    std::stable_sort(writes.begin(), writes.end(), [](const Write& a, const Write& b) { return a.offset > b.offset; });
    for (const Write& w : writes) file.writeAt(w.offset, w.bytes);
    trends.save(recording);
    result.saved = file.commitUpdate();
    return result;
}

}  // namespace lumen
