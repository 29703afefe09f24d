// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/recording_image.h"

#include <algorithm>
#include <array>
#include <span>

#include "store/huffman_code_builder.h"
#include "store/recording_writer.h"
#include "store/section_id.h"

namespace lumen {
namespace {

void put24(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
    out[at + 2] = static_cast<uint8_t>(v >> 16);
}

// Hour (of the day, 0..23), minute and second of a position in ticks.
std::array<uint8_t, 3> clockAt(const RhythmPlan& plan, int64_t positionTicks) {
    const int64_t seconds = (plan.startTick() + positionTicks) / kTicksPerSecond;
    return {static_cast<uint8_t>((seconds / 3600) % 24), static_cast<uint8_t>((seconds / 60) % 60),
            static_cast<uint8_t>(seconds % 60)};
}

}  // namespace

CodeTable RecordingAssembler::buildCodeTable(const StoredSignal& signal) {
    std::array<uint64_t, kCodeTableEntries> frequencies{};
    const size_t blocks = signal.channel1.size() / kSamplesPerBlock;
    for (size_t b = 0; b < blocks; ++b) {
        const size_t at = b * kSamplesPerBlock;
        HuffmanCodeBuilder::countDifferences(std::span(signal.channel1).subspan(at, kSamplesPerBlock), frequencies);
        HuffmanCodeBuilder::countDifferences(std::span(signal.channel2).subspan(at, kSamplesPerBlock), frequencies);
    }
    return HuffmanCodeBuilder::build(frequencies);
}

std::vector<uint8_t> RecordingAssembler::beatWords(const RhythmPlan& plan) {
    std::vector<uint8_t> out;
    out.reserve(plan.beats.size() * kBeatWordBytes);
    for (const PlannedBeat& b : plan.beats) {
        const uint32_t word = (static_cast<uint32_t>(b.positionQuarterTicks) & 0x1FFFFFFu) |
                              (uint32_t{b.beatClass} << 25) | (uint32_t{b.formCode} << 27);
        for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(word >> (8 * k)));
    }
    return out;
}

// Byte 0 bits 0-6 hold the number of beats of the episode (at most 127);
// byte 11 is 0.
std::vector<uint8_t> RecordingAssembler::episodeRecords(const RhythmPlan& plan) {
    std::vector<uint8_t> out(plan.episodes.size() * kEpisodeRecordBytes, 0);
    for (size_t i = 0; i < plan.episodes.size(); ++i) {
        const PlannedEpisode& e = plan.episodes[i];
        const size_t at = i * kEpisodeRecordBytes;
        const int beats = std::min(127, e.lastBeat - e.firstBeat + 1);
        out[at] = static_cast<uint8_t>((e.flagged ? 0x80 : 0) | beats);
        const auto clock = clockAt(plan, int64_t{e.startTenths} * 5);
        out[at + 1] = clock[0];
        out[at + 2] = clock[1];
        out[at + 3] = clock[2];
        put24(out, at + 4, static_cast<uint32_t>(e.startTenths));
        put24(out, at + 7, static_cast<uint32_t>(e.endTenths));
        out[at + 10] = e.code;
    }
    return out;
}

std::vector<uint8_t> RecordingAssembler::markerTimes(const RhythmPlan& plan) {
    std::vector<uint8_t> out(plan.markerTenths.size() * kMarkerBytes, 0);
    for (size_t i = 0; i < plan.markerTenths.size(); ++i)
        put24(out, i * kMarkerBytes, static_cast<uint32_t>(plan.markerTenths[i]));
    return out;
}

// The measured interval is the block; byte 0 holds its rate in beats per
// minute, bytes 10 and 11 are 0.
std::vector<uint8_t> RecordingAssembler::extremeRecord(const RhythmPlan& plan, const TrendTables& trends,
                                                       int32_t block) {
    std::vector<uint8_t> out(12, 0);
    out[0] = trends.heartRate.empty() ? 0 : trends.heartRate[static_cast<size_t>(block)];
    const auto clock = clockAt(plan, int64_t{block} * kSamplesPerBlock + kSamplesPerBlock / 2);
    out[1] = clock[0];
    out[2] = clock[1];
    out[3] = clock[2];
    put24(out, 4, static_cast<uint32_t>(block * 100));
    put24(out, 7, static_cast<uint32_t>(block * 100 + 100));
    return out;
}

// Bytes 0-2 carry a recording date (day, month, year - 2000), byte 6 the
// length in hours; the viewer reads only bytes 3-5. A recording without a
// date, or one the byte cannot hold, keeps a fixed one.
std::vector<uint8_t> RecordingAssembler::clockSection(const RhythmPlan& plan) {
    constexpr int32_t kYearOffset = 2000;
    CalendarDate date{kYearOffset + 24, 3, 12};
    if (plan.startDate && plan.startDate->year >= kYearOffset && plan.startDate->year <= kYearOffset + 255)
        date = *plan.startDate;
    return {static_cast<uint8_t>(date.day),
            static_cast<uint8_t>(date.month),
            static_cast<uint8_t>(date.year - kYearOffset),
            plan.start.second,
            plan.start.minute,
            plan.start.hour,
            static_cast<uint8_t>(std::clamp(plan.hours, 0, 255)),
            0,
            0,
            0,
            0,
            0};
}

std::vector<uint8_t> RecordingAssembler::patientSection(const std::string& line, uint8_t amplitudeCode) {
    std::vector<uint8_t> out(128, 0);
    const std::string text = line.substr(0, 97) + "\r\n";
    std::copy(text.begin(), text.end(), out.begin());
    out[kPatientAmplitudeOffset] = amplitudeCode;
    return out;
}

std::vector<uint8_t> RecordingAssembler::assemble(const RecordingImage& r) {
    RecordingWriter writer(r.codeTable);
    writer.setSection(SectionId::Patient, patientSection(r.patientLine, r.amplitudeCode));
    writer.setSection(SectionId::HeartRate, r.trends.heartRate);
    writer.setSection(SectionId::StChannel1, r.trends.st1);
    writer.setSection(SectionId::StChannel2, r.trends.st2);
    writer.setSection(SectionId::TrendFlags, r.trends.flags);
    writer.setSection(SectionId::RecordingClock, clockSection(r.plan));
    writer.setSection(SectionId::Episodes, episodeRecords(r.plan));
    writer.setSection(SectionId::Markers, markerTimes(r.plan));
    writer.setSection(SectionId::Beats, beatWords(r.plan));
    writer.setSection(SectionId::HeartRateMin, extremeRecord(r.plan, r.trends, r.trends.minimumBlock));
    writer.setSection(SectionId::HeartRateMax, extremeRecord(r.plan, r.trends, r.trends.maximumBlock));
    for (int32_t b = 0; b < r.plan.blockCount(); ++b) {
        const size_t at = static_cast<size_t>(b) * kSamplesPerBlock;
        writer.addBlock(std::span<const uint8_t, 500>(r.signal.channel1.data() + at, 500),
                        std::span<const uint8_t, 500>(r.signal.channel2.data() + at, 500));
    }
    return writer.build();
}

}  // namespace lumen
