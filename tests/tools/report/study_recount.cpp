#include "tools/report/study_recount.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "assembly/recording_sidecar.h"
#include "store/clock.h"
#include "store/episode_record.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "store/time_units.h"
#include "store/trend_table.h"
#include "tools/report/block_rates.h"
#include "tools/report/episode_recount.h"

namespace lumen {
namespace {

constexpr int64_t kTenthsPerSecond = 10;
constexpr int64_t kTicksPerTenth = 5;
constexpr int64_t kMsPerQuarterTick = 5;
constexpr int64_t kHoursPerDay = 24;
constexpr uint8_t kFibrillationCode = 40;
constexpr uint8_t kLeadOffOrNoiseFlag = 128;
constexpr uint8_t kReviewerExclusionBits = 127;
constexpr int8_t kNoStLevel = 127;
constexpr double kMicrovoltsPerStUnit = 400.0 / 64.0;
constexpr double kPercent = 100.0;
constexpr double kRateQuarterTicks = 12000.0;  // 60 000 ms per minute / 5 ms

// What the report reads from the recording, read through the store.
struct Stored {
    std::vector<BeatWord> words;
    std::vector<uint8_t> flags;
    std::array<std::vector<int8_t>, 2> st;
    std::vector<EpisodeRecord> episodes;
    SourceNotes notes;
    // Time of day of the recording start with its seconds, which the block
    // clocks leave out but the report's start time and hours keep.
    int64_t startTicks = 0;
    int64_t lengthTicks = 0;
};

std::vector<EpisodeRecord> episodeRecords(Recording& recording) {
    std::vector<EpisodeRecord> out;
    if (!recording.selectSection(SectionId::Episodes)) return out;
    const SectionPlace place = recording.selectedSection();
    for (uint32_t i = 0; i < place.length / kEpisodeRecordBytes; ++i) {
        std::array<uint8_t, kEpisodeRecordBytes> bytes{};
        recording.file().readAt(uint64_t{place.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
        out.push_back(EpisodeRecord::parse(bytes));
    }
    return out;
}

Stored readStored(const std::string& programDirectory, const std::string& recordingDirectory) {
    Stored out;
    Recording recording(programDirectory, recordingDirectory);
    recording.beats().load(recording);
    const auto words = recording.beats().words();
    out.words.assign(words.begin(), words.end());
    TrendTable trends;
    trends.load(recording);
    out.flags = trends.flags();
    out.st = {trends.stChannel1(), trends.stChannel2()};
    out.episodes = episodeRecords(recording);
    std::array<uint8_t, 6> clock{};
    recording.selectSection(SectionId::RecordingClock);
    recording.file().readAt(recording.selectedSection().offset, clock);
    out.startTicks = ((clock[5] * 60 + clock[4]) * 60 + clock[3]) * kTicksPerSecond;
    std::string warning;
    out.notes = RecordingSidecar::read(recordingDirectory, warning);
    out.lengthTicks = out.notes.sourceTicks.value_or(recording.blockCount() * BlockRates::kBlockTicks);
    return out;
}

std::string clockText(int64_t ticks, bool wholeHour) {
    const int64_t seconds = ticks / kTicksPerSecond;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600 % kHoursPerDay),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return std::string(text, wholeHour ? 3 : 8) + (wholeHour ? "00" : "");
}

// Lead-off and noise blocks are not analysed; the last block only for its
// part within the recording's length.
int64_t analysedSeconds(const Stored& stored) {
    int64_t ticks = stored.lengthTicks;
    for (size_t b = 0; b < stored.flags.size(); ++b) {
        if ((stored.flags[b] & kLeadOffOrNoiseFlag) == 0) continue;
        const int64_t from = static_cast<int64_t>(b) * BlockRates::kBlockTicks;
        ticks -= std::clamp<int64_t>(stored.lengthTicks - from, 0, BlockRates::kBlockTicks);
    }
    return ticks / kTicksPerSecond;
}

std::vector<EpisodeRecord> fibrillationOf(const Stored& stored) {
    std::vector<EpisodeRecord> out;
    std::copy_if(stored.episodes.begin(), stored.episodes.end(), std::back_inserter(out),
                 [](const EpisodeRecord& e) { return e.code == kFibrillationCode; });
    return out;
}

// The words inside each fibrillation record, as a re-derivation maps its
// tenths to beats: from the first word at or after its start (in quarter
// ticks) to the last word before its end, but at least that first word.
std::vector<bool> insideFibrillation(const Stored& stored) {
    std::vector<bool> inside(stored.words.size(), false);
    const auto firstReaching = [&](int64_t quarterTicks) {
        return static_cast<size_t>(
            std::partition_point(stored.words.begin(), stored.words.end(),
                                 [&](BeatWord w) { return w.positionQuarterTicks() < quarterTicks; }) -
            stored.words.begin());
    };
    for (const EpisodeRecord& e : fibrillationOf(stored)) {
        const size_t first = firstReaching(int64_t{e.startTenths} * kQuarterTicksPerTenth);
        const size_t end = firstReaching(int64_t{e.endTenths} * kQuarterTicksPerTenth);
        const size_t last = std::max(first, end == 0 ? 0 : end - 1);
        for (size_t i = first; i <= last && i < inside.size(); ++i) inside[i] = true;
    }
    return inside;
}

int64_t roundedRate(double beats, double quarterTicks) {
    return quarterTicks > 0.0 ? std::lround(kRateQuarterTicks * beats / quarterTicks) : 0;
}

EctopyRecount ectopyOf(const Stored& stored, const std::vector<RecountedEpisode>& episodes, bool ventricular) {
    using K = RecountedKind;
    EctopyRecount out;
    const BeatClass beatClass = ventricular ? BeatClass::Ventricular : BeatClass::Supraventricular;
    out.total = std::count_if(stored.words.begin(), stored.words.end(),
                              [&](BeatWord w) { return !isNoBeat(w) && w.beatClass() == beatClass; });
    double fastest = 0.0;
    for (const RecountedEpisode& e : episodes) {
        const bool v = e.kind <= K::VentricularBigeminy;
        if (e.kind == K::Pause || v != ventricular) continue;
        out.isolated += e.kind == K::VentricularIsolated || e.kind == K::SupraventricularIsolated;
        out.couplets += e.kind == K::VentricularCouplet || e.kind == K::SupraventricularCouplet;
        out.bigeminy += e.kind == K::VentricularBigeminy;
        const bool run = e.kind == K::VentricularRun || e.kind == K::SupraventricularRun;
        const bool tachycardia = e.kind == K::VentricularTachycardia || e.kind == K::SupraventricularTachycardia;
        out.runs += run;
        out.tachycardias += tachycardia;
        if (!run && !tachycardia) continue;
        const auto beats = static_cast<int64_t>(e.lastWord - e.firstWord + 1);
        out.longestRunBeats = std::max(out.longestRunBeats, beats);
        const double span = static_cast<double>(stored.words[e.lastWord].positionQuarterTicks()) -
                            stored.words[e.firstWord].positionQuarterTicks();
        fastest = std::max(fastest, span > 0.0 ? static_cast<double>(beats - 1) / span : 0.0);
    }
    out.fastestRunRate = std::lround(kRateQuarterTicks * fastest);
    return out;
}

PauseRecount pausesOf(const Stored& stored, const std::vector<RecountedEpisode>& episodes) {
    PauseRecount out;
    int64_t longest = 0;
    for (const RecountedEpisode& e : episodes) {
        if (e.kind != RecountedKind::Pause) continue;
        ++out.count;
        const int64_t first = stored.words[e.firstWord].positionQuarterTicks();
        const int64_t length = int64_t{stored.words[e.lastWord].positionQuarterTicks()} - first;
        if (length <= longest) continue;  // the earlier pause on a tie
        longest = length;
        out.longestMs = length * kMsPerQuarterTick;
        out.longestTick = first / kQuarterTicksPerTick;
    }
    return out;
}

FibrillationRecount fibrillationFigures(const Stored& stored, const std::vector<bool>& inside) {
    FibrillationRecount out;
    int64_t tenths = 0;
    int64_t longestTenths = 0;
    for (const EpisodeRecord& e : fibrillationOf(stored)) {
        const int64_t length = int64_t{e.endTenths} - e.startTenths;
        tenths += length;
        longestTenths = std::max(longestTenths, length);
        ++out.episodes;
    }
    // Over the recording's length in ticks, not the rounded duration.
    if (stored.lengthTicks > 0)
        out.burdenPercent = std::min(kPercent, kPercent * static_cast<double>(tenths) * kTicksPerTenth /
                                                   static_cast<double>(stored.lengthTicks));
    out.longestSeconds = static_cast<double>(longestTenths) / kTenthsPerSecond;
    double quarterTicks = 0.0;
    double intervals = 0.0;
    for (size_t k = 1; k < stored.words.size(); ++k) {
        if (!inside[k] || !isRateBeat(stored.words[k - 1]) || !isRateBeat(stored.words[k])) continue;
        quarterTicks +=
            static_cast<double>(stored.words[k].positionQuarterTicks()) - stored.words[k - 1].positionQuarterTicks();
        intervals += 1.0;
    }
    out.meanRate = roundedRate(intervals, quarterTicks);
    return out;
}

StRecount stOf(const std::vector<int8_t>& levels, const std::vector<uint8_t>& flags) {
    StRecount out;
    std::optional<size_t> lowest;
    std::optional<size_t> highest;
    for (size_t b = 0; b < levels.size(); ++b) {
        if (levels[b] == kNoStLevel || (b < flags.size() && (flags[b] & kReviewerExclusionBits) != 0)) continue;
        if (!lowest || levels[b] < levels[*lowest]) lowest = b;
        if (!highest || levels[b] > levels[*highest]) highest = b;
    }
    if (!lowest) return out;
    out.min = levels[*lowest] * kMicrovoltsPerStUnit;
    out.minTick = static_cast<int64_t>(*lowest) * BlockRates::kBlockTicks;
    out.max = levels[*highest] * kMicrovoltsPerStUnit;
    out.maxTick = static_cast<int64_t>(*highest) * BlockRates::kBlockTicks;
    return out;
}

// The clock hours the recording touches, from the start hour to the hour of
// its last tick: a day from 08:03 touches 25, the first and last both "08:00".
class HourRows {
public:
    explicit HourRows(const Stored& stored)
        : startTicks_(stored.startTicks), firstHour_(stored.startTicks / kTicksPerHour) {
        const int64_t lastTick = stored.startTicks + std::max<int64_t>(stored.lengthTicks, 1) - 1;
        rows_.resize(static_cast<size_t>(lastTick / kTicksPerHour - firstHour_ + 1));
        for (size_t r = 0; r < rows_.size(); ++r)
            rows_[r].hour = clockText((firstHour_ + static_cast<int64_t>(r)) * kTicksPerHour, true);
    }
    // The row of a time from the recording start; none outside the rows.
    HourRecount* at(int64_t ticks) {
        const int64_t row = indexOf(ticks);
        return row >= 0 && row < static_cast<int64_t>(rows_.size()) ? &rows_[static_cast<size_t>(row)] : nullptr;
    }
    int64_t indexOf(int64_t ticks) const { return (startTicks_ + ticks) / kTicksPerHour - firstHour_; }
    // The row's start as a time from the recording start.
    int64_t hourStartTicks(size_t row) const {
        return (firstHour_ + static_cast<int64_t>(row)) * kTicksPerHour - startTicks_;
    }
    std::vector<HourRecount>& rows() { return rows_; }

private:
    int64_t startTicks_;
    int64_t firstHour_;
    std::vector<HourRecount> rows_;
};

int64_t tickOf(BeatWord word) { return word.positionQuarterTicks() / kQuarterTicksPerTick; }

void countHourEpisodes(const Stored& stored, const std::vector<RecountedEpisode>& episodes, HourRows& hours) {
    using K = RecountedKind;
    for (const RecountedEpisode& e : episodes) {
        HourRecount* row = hours.at(tickOf(stored.words[e.firstWord]));
        if (row == nullptr) continue;
        row->couplets += e.kind == K::VentricularCouplet;
        row->ventricularRuns += e.kind == K::VentricularRun || e.kind == K::VentricularTachycardia;
        row->supraventricularRuns += e.kind == K::SupraventricularRun || e.kind == K::SupraventricularTachycardia;
        row->pauses += e.kind == K::Pause;
    }
}

std::vector<HourRecount> hoursOf(const Stored& stored, const std::vector<RecountedEpisode>& episodes,
                                 const BlockRates& rates) {
    HourRows hours(stored);
    for (const BeatWord w : stored.words) {
        HourRecount* row = hours.at(tickOf(w));
        if (row == nullptr || isNoBeat(w)) continue;
        ++row->beats;
        row->ventricular += w.beatClass() == BeatClass::Ventricular;
        row->supraventricular += w.beatClass() == BeatClass::Supraventricular;
    }
    countHourEpisodes(stored, episodes, hours);
    for (size_t r = 0; r < hours.rows().size(); ++r) {
        const RateRecount rate = rates.over(
            [&](int64_t block) { return hours.indexOf(block * BlockRates::kBlockTicks) == static_cast<int64_t>(r); },
            stored.flags);
        HourRecount& row = hours.rows()[r];
        row.hrMin = rate.min.value_or(0);
        row.hrMean = rate.mean;
        row.hrMax = rate.max.value_or(0);
        const int64_t from = hours.hourStartTicks(r);
        for (const EpisodeRecord& e : fibrillationOf(stored)) {
            const int64_t overlap =
                std::min<int64_t>(e.endTicks(), from + kTicksPerHour) - std::max<int64_t>(e.startTicks(), from);
            if (overlap > 0) row.fibrillationMinutes += static_cast<double>(overlap) / kTicksPerMinute;
        }
    }
    return hours.rows();
}

}  // namespace

StudyRecount recount(const std::string& programDirectory, const std::string& recordingDirectory) {
    const Stored stored = readStored(programDirectory, recordingDirectory);
    StudyRecount out;
    if (stored.notes.startDate) out.startDate = stored.notes.startDate->iso();
    out.startClock = clockText(stored.startTicks, false);
    out.durationSeconds = stored.lengthTicks / kTicksPerSecond;
    out.analysedSeconds = analysedSeconds(stored);
    for (const BeatWord w : stored.words) {
        if (isNoBeat(w)) continue;
        ++out.beats;
        ++out.beatsByClass[static_cast<size_t>(w.beatClass())];
    }
    const std::vector<bool> inside = insideFibrillation(stored);
    const std::vector<RecountedEpisode> episodes = recountEpisodes(stored.words, inside);
    const BlockRates rates(stored.words);
    out.heartRate = rates.over([](int64_t) { return true; }, stored.flags);
    out.ventricular = ectopyOf(stored, episodes, true);
    out.supraventricular = ectopyOf(stored, episodes, false);
    out.pauses = pausesOf(stored, episodes);
    out.fibrillation = fibrillationFigures(stored, inside);
    out.st = {stOf(stored.st[0], stored.flags), stOf(stored.st[1], stored.flags)};
    out.hrv = recountHrv(stored.words);
    out.hours = hoursOf(stored, episodes, rates);
    // A report prints the first 120 flagged events.
    constexpr int64_t kMostStrips = 120;
    out.flaggedEvents =
        std::count_if(stored.episodes.begin(), stored.episodes.end(), [](const EpisodeRecord& e) { return e.flagged; });
    out.strips = std::min(out.flaggedEvents, kMostStrips);
    return out;
}

}  // namespace lumen
