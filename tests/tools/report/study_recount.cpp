// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/report/study_recount.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>

#include "assembly/recording_sidecar.h"
#include "store/clock.h"
#include "store/episode_record.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "store/time_units.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

constexpr int64_t kBlockTicks = 500;
constexpr int64_t kBlockQuarterTicks = 2000;
constexpr int64_t kLeastIntervalsForRate = 3;
constexpr double kTenthsPerSecond = 10.0;
constexpr int64_t kTicksPerTenth = 5;
constexpr uint8_t kFibrillationCode = 40;
constexpr uint8_t kLeadOffOrNoiseFlag = 128;
constexpr uint8_t kReviewerExclusionBits = 127;
constexpr int8_t kNoStLevel = 127;
constexpr double kMicrovoltsPerStUnit = 400.0 / 64.0;
constexpr double kPercent = 100.0;
constexpr double kRateQuarterTicks = 12000.0;  // 60 000 ms per minute / 5 ms
constexpr int64_t kMostStrips = 120;           // 40 pages
// The µV of a level (6.25 µV steps) may be printed rounded to the µV.
constexpr double kStRoundingMicrovolts = 0.5;

// What the report reads from the recording, read through the store.
struct Stored {
    std::vector<BeatWord> words;
    std::vector<uint8_t> flags;
    std::array<std::vector<int8_t>, 2> st;
    std::vector<EpisodeRecord> fibrillation;
    int64_t flaggedEvents = 0;
    std::optional<std::string> startDate;
    // Time of day of the start with its seconds, which the block clocks
    // leave out but the report's start time and hours keep.
    int64_t startTicks = 0;
    int64_t lengthTicks = 0;
};

Stored readStored(const std::string& programDirectory, const std::string& recordingDirectory) {
    Stored out;
    Recording recording(programDirectory, recordingDirectory);
    recording.beats().load(recording);
    std::ranges::copy(recording.beats().words(), std::back_inserter(out.words));
    TrendTable trends;
    trends.load(recording);
    out.flags = trends.flags();
    out.st = {trends.stChannel1(), trends.stChannel2()};
    if (recording.selectSection(SectionId::Episodes)) {
        const SectionPlace place = recording.selectedSection();
        for (uint32_t i = 0; i < place.length / kEpisodeRecordBytes; ++i) {
            std::array<uint8_t, kEpisodeRecordBytes> bytes{};
            recording.file().readAt(uint64_t{place.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
            const EpisodeRecord record = EpisodeRecord::parse(bytes);
            out.flaggedEvents += record.flagged;
            if (record.code == kFibrillationCode) out.fibrillation.push_back(record);
        }
    }
    std::array<uint8_t, 6> clock{};
    recording.selectSection(SectionId::RecordingClock);
    recording.file().readAt(recording.selectedSection().offset, clock);
    out.startTicks = ((clock[5] * 60 + clock[4]) * 60 + clock[3]) * kTicksPerSecond;
    std::string warning;
    const SourceNotes notes = RecordingSidecar::read(recordingDirectory, warning);
    if (notes.startDate) out.startDate = notes.startDate->iso();
    out.lengthTicks = notes.sourceTicks.value_or(recording.blockCount() * kBlockTicks);
    return out;
}

std::string clockText(int64_t ticks, bool wholeHour) {
    const long long seconds = ticks / kTicksPerSecond;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return wholeHour ? std::string(text, 3) + "00" : std::string(text);
}

bool excluded(const std::vector<uint8_t>& flags, size_t block) {
    return block < flags.size() && (flags[block] & kReviewerExclusionBits) != 0;
}

int64_t tickOf(BeatWord word) { return word.positionQuarterTicks() / kQuarterTicksPerTick; }

// Whether a word ends or starts an RR interval: a beat of class N, S or V.
bool isRateBeat(BeatWord word) { return !isNoBeat(word) && word.beatClass() != BeatClass::Artefact; }

// The RR intervals of a 10-second block, each in the block of its second beat.
struct Intervals {
    int64_t count = 0;
    int64_t quarterTicks = 0;
    double rate() const { return kRateQuarterTicks * static_cast<double>(count) / static_cast<double>(quarterTicks); }
    // Compared exactly: count / length against count / length.
    bool slowerThan(const Intervals& o) const { return count * o.quarterTicks < o.count * quarterTicks; }
};

std::vector<Intervals> blockIntervals(const Stored& s) {
    std::vector<Intervals> blocks;
    for (size_t k = 1; k < s.words.size(); ++k) {
        if (!isRateBeat(s.words[k - 1]) || !isRateBeat(s.words[k])) continue;
        const auto block = static_cast<size_t>(s.words[k].positionQuarterTicks() / kBlockQuarterTicks);
        if (block >= blocks.size()) blocks.resize(block + 1);
        blocks[block].count += 1;
        blocks[block].quarterTicks += static_cast<int64_t>(quarterTicksBetween(s.words, k - 1, k));
    }
    return blocks;
}

struct Rates {
    std::optional<double> min, minTick, max, maxTick;
    double mean = 0.0;
};

// Extremes over the blocks `holds` takes that the reviewer did not exclude,
// found on the exact rates and rounded only when found; the mean over all
// it takes, each block's rate weighted by its number of intervals.
Rates ratesOver(const std::vector<Intervals>& blocks, const std::vector<uint8_t>& flags,
                const std::function<bool(int64_t block)>& holds) {
    Rates out;
    double weightedSum = 0.0;
    int64_t intervals = 0;
    const Intervals* lowest = nullptr;
    const Intervals* highest = nullptr;
    for (size_t b = 0; b < blocks.size(); ++b) {
        const Intervals& block = blocks[b];
        if (block.count < kLeastIntervalsForRate || !holds(static_cast<int64_t>(b))) continue;
        weightedSum += block.rate() * static_cast<double>(block.count);
        intervals += block.count;
        if (excluded(flags, b)) continue;
        const auto tick = static_cast<double>(b * kBlockTicks);
        if (lowest == nullptr || block.slowerThan(*lowest)) lowest = &block, out.minTick = tick;
        if (highest == nullptr || highest->slowerThan(block)) highest = &block, out.maxTick = tick;
    }
    if (intervals > 0) out.mean = std::round(weightedSum / static_cast<double>(intervals));
    if (lowest != nullptr) out.min = std::round(lowest->rate());
    if (highest != nullptr) out.max = std::round(highest->rate());
    return out;
}

// The fibrillation figures; the words inside each record, as a
// re-derivation maps its tenths to beats: from the first word at or after
// its start to the last word before its end, but at least that first word.
std::vector<bool> addFibrillation(Expectations& out, const Stored& s) {
    std::vector<bool> inside(s.words.size(), false);
    const auto firstReaching = [&](int64_t tenths) {
        const auto position = [](BeatWord w) { return int64_t{w.positionQuarterTicks()}; };
        return static_cast<size_t>(std::ranges::lower_bound(s.words, tenths * kQuarterTicksPerTenth, {}, position) -
                                   s.words.begin());
    };
    int64_t tenths = 0;
    int64_t longestTenths = 0;
    for (const EpisodeRecord& e : s.fibrillation) {
        tenths += int64_t{e.endTenths} - e.startTenths;
        longestTenths = std::max(longestTenths, int64_t{e.endTenths} - e.startTenths);
        const size_t first = firstReaching(e.startTenths);
        const size_t end = firstReaching(e.endTenths);
        for (size_t i = first; i <= std::max(first, end == 0 ? 0 : end - 1) && i < inside.size(); ++i) inside[i] = true;
    }
    double quarterTicks = 0.0;
    double intervals = 0.0;
    for (size_t k = 1; k < s.words.size(); ++k) {
        if (!inside[k] || !isRateBeat(s.words[k - 1]) || !isRateBeat(s.words[k])) continue;
        quarterTicks += quarterTicksBetween(s.words, k - 1, k);
        intervals += 1.0;
    }
    // Over the recording's length in ticks, not the rounded duration.
    const double burden = kPercent * static_cast<double>(tenths * kTicksPerTenth) / static_cast<double>(s.lengthTicks);
    expect(out, "atrialFibrillation.burdenPercent", s.lengthTicks > 0 ? std::min(kPercent, burden) : 0.0, 0.01);
    expect(out, "atrialFibrillation.episodes", s.fibrillation.size());
    // Whole tenths of a second: exact but for the decimal text.
    expect(out, "atrialFibrillation.longestSeconds", longestTenths / kTenthsPerSecond, 0.001);
    expect(out, "atrialFibrillation.meanRate",
           quarterTicks > 0.0 ? std::round(kRateQuarterTicks * intervals / quarterTicks) : 0.0);
    return inside;
}

void addSt(Expectations& out, const Stored& s, size_t channel) {
    const std::vector<int8_t>& levels = s.st[channel];
    std::optional<size_t> lowest;
    std::optional<size_t> highest;
    for (size_t b = 0; b < levels.size(); ++b) {
        if (levels[b] == kNoStLevel || excluded(s.flags, b)) continue;
        if (!lowest || levels[b] < levels[*lowest]) lowest = b;
        if (!highest || levels[b] > levels[*highest]) highest = b;
    }
    const std::string prefix = "st.channel" + std::to_string(channel + 1) + ".";
    for (const auto& [key, b] : {std::pair("min", lowest), std::pair("max", highest)}) {
        expect(out, prefix + key, b ? std::optional(levels[*b] * kMicrovoltsPerStUnit) : std::nullopt,
               kStRoundingMicrovolts);
        expect(out, prefix + key + "Tick", b ? std::optional<double>(*b * kBlockTicks) : std::nullopt);
    }
}

// The clock hours the recording touches, from the start hour to the hour of
// its last tick: a day from 08:03 touches 25, the first and last both "08:00".
void addHours(Expectations& out, const Stored& s, const std::vector<RecountedEpisode>& episodes,
              const std::vector<Intervals>& blocks) {
    const int64_t firstHour = s.startTicks / kTicksPerHour;
    const int64_t lastTick = s.startTicks + std::max<int64_t>(s.lengthTicks, 1) - 1;
    std::vector<std::map<std::string, double>> hours(static_cast<size_t>(lastTick / kTicksPerHour - firstHour + 1));
    const auto rowOf = [&](int64_t ticks) { return (s.startTicks + ticks) / kTicksPerHour - firstHour; };
    const auto count = [&](int64_t ticks, const char* key, bool counts) {
        const int64_t row = rowOf(ticks);
        if (row >= 0 && row < static_cast<int64_t>(hours.size())) hours[static_cast<size_t>(row)][key] += counts;
    };
    for (const BeatWord w : s.words) {
        if (isNoBeat(w)) continue;
        count(tickOf(w), "beats", true);
        count(tickOf(w), "V", w.beatClass() == BeatClass::Ventricular);
        count(tickOf(w), "S", w.beatClass() == BeatClass::Supraventricular);
    }
    for (const RecountedEpisode& e : episodes) {
        const bool run = e.shape == Shape::Run || e.shape == Shape::Tachycardia;
        const int64_t tick = tickOf(s.words[e.firstWord]);
        count(tick, "couplets", e.ventricular && e.shape == Shape::Couplet);
        count(tick, "vRuns", e.ventricular && run);
        count(tick, "svRuns", !e.ventricular && run);
        count(tick, "pauses", e.shape == Shape::Pause);
    }
    expect(out, "hours", hours.size());
    for (size_t r = 0; r < hours.size(); ++r) {
        const int64_t from = (firstHour + static_cast<int64_t>(r)) * kTicksPerHour - s.startTicks;
        double minutes = 0.0;
        for (const EpisodeRecord& e : s.fibrillation) {
            const int64_t overlap =
                std::min<int64_t>(e.endTicks(), from + kTicksPerHour) - std::max<int64_t>(e.startTicks(), from);
            minutes += std::max<int64_t>(overlap, 0) / static_cast<double>(kTicksPerMinute);
        }
        const Rates rates = ratesOver(
            blocks, s.flags, [&](int64_t block) { return rowOf(block * kBlockTicks) == static_cast<int64_t>(r); });
        const std::string prefix = "hours." + std::to_string(r) + ".";
        for (const char* key : {"beats", "V", "couplets", "vRuns", "S", "svRuns", "pauses"})
            expect(out, prefix + key, hours[r][key]);
        expect(out, prefix + "hrMin", rates.min.value_or(0));
        expect(out, prefix + "hrMean", rates.mean);
        expect(out, prefix + "hrMax", rates.max.value_or(0));
        expect(out, prefix + "afMinutes", minutes, 0.05);
        expectText(out, prefix + "hour", clockText(from + s.startTicks, true));
    }
}

}  // namespace

Expectations recount(const std::string& programDirectory, const std::string& recordingDirectory) {
    const Stored s = readStored(programDirectory, recordingDirectory);
    Expectations out;
    expectText(out, "startDate", s.startDate);
    expectText(out, "startClock", clockText(s.startTicks, false));
    expect(out, "durationSeconds", s.lengthTicks / kTicksPerSecond);
    // Lead-off and noise blocks are not analysed; the last block only for
    // the ticks it has within the recording's length.
    int64_t analysedTicks = s.lengthTicks;
    for (size_t b = 0; b < s.flags.size(); ++b)
        if ((s.flags[b] & kLeadOffOrNoiseFlag) != 0)
            analysedTicks -= std::clamp<int64_t>(s.lengthTicks - static_cast<int64_t>(b) * kBlockTicks, 0, kBlockTicks);
    expect(out, "analysedSeconds", analysedTicks / kTicksPerSecond);
    std::array<int64_t, 4> byClass{};  // N, S, V, A
    for (const BeatWord w : s.words)
        if (!isNoBeat(w)) ++byClass[static_cast<size_t>(w.beatClass())];
    expect(out, "beats.total", byClass[0] + byClass[1] + byClass[2] + byClass[3]);
    for (size_t c = 0; c < byClass.size(); ++c) expect(out, std::string("beats.") + kBeatClassLetters[c], byClass[c]);
    expect(out, "supraventricular.total", byClass[1]);
    expect(out, "ventricular.total", byClass[2]);

    const std::vector<Intervals> blocks = blockIntervals(s);
    const Rates rates = ratesOver(blocks, s.flags, [](int64_t) { return true; });
    expect(out, "heartRate.min", rates.min);
    expect(out, "heartRate.minTick", rates.minTick);
    expect(out, "heartRate.mean", rates.mean);
    expect(out, "heartRate.max", rates.max);
    expect(out, "heartRate.maxTick", rates.maxTick);

    const std::vector<RecountedEpisode> episodes = recountEpisodes(s.words, addFibrillation(out, s), out);
    addSt(out, s, 0);
    addSt(out, s, 1);
    recountHrv(s.words, out);
    addHours(out, s, episodes, blocks);
    expect(out, "flaggedEvents", s.flaggedEvents);
    expect(out, "strips", std::min(s.flaggedEvents, kMostStrips));
    return out;
}

}  // namespace lumen
