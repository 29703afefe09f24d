// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/episode_rules.h"

#include <algorithm>

#include "analysis/atrial_fibrillation_detector.h"
#include "store/time_units.h"

namespace lumen {
namespace {

enum class Kind : uint8_t { Normal, Supraventricular, Ventricular, Interruption };

Kind kindOf(const PlannedBeat& b) {
    if (b.formCode == kFormNone || b.beatClass == kClassArtefact) return Kind::Interruption;
    if (b.beatClass == kClassVentricular) return Kind::Ventricular;
    if (b.beatClass == kClassSupraventricular) return Kind::Supraventricular;
    return Kind::Normal;
}

PlannedEpisode episode(const std::vector<PlannedBeat>& beats, uint8_t code, size_t first, size_t last) {
    PlannedEpisode e;
    e.code = code;
    e.firstBeat = static_cast<int32_t>(first);
    e.lastBeat = static_cast<int32_t>(last);
    e.startTenths = static_cast<int32_t>(tenthsOfQuarterTicks(beats[first].positionQuarterTicks));
    e.endTenths = static_cast<int32_t>(tenthsCoveringQuarterTicks(beats[last].positionQuarterTicks));
    return e;
}

uint8_t trainCode(Kind kind, size_t length) {
    const bool v = kind == Kind::Ventricular;
    if (length == 1) return v ? EpisodeRules::kVentricularIsolated : EpisodeRules::kSupraventricularIsolated;
    if (length == 2) return v ? EpisodeRules::kVentricularCouplet : EpisodeRules::kSupraventricularCouplet;
    if (length < static_cast<size_t>(kTachycardiaMinimumBeats))
        return v ? EpisodeRules::kVentricularRun : EpisodeRules::kSupraventricularRun;
    return v ? EpisodeRules::kVentricularTachycardia : EpisodeRules::kSupraventricularTachycardia;
}

// Ventricular bigeminy: single ventricular beats, each after one normal
// beat, at least three in a row; returns the index of the last one, or
// `start` when no bigeminy starts there.
size_t bigeminyEnd(const std::vector<Kind>& kinds, size_t start) {
    size_t last = start;
    int cycles = 0;
    for (size_t i = start; i < kinds.size() && kinds[i] == Kind::Ventricular; i += 2) {
        const bool normalBefore = i > 0 && kinds[i - 1] == Kind::Normal;
        const bool ventricularAfter = i + 1 < kinds.size() && kinds[i + 1] == Kind::Ventricular;
        if (!normalBefore || ventricularAfter) break;  // a couplet or run ends the bigeminy
        ++cycles;
        last = i;
        if (i + 1 >= kinds.size() || kinds[i + 1] != Kind::Normal) break;
    }
    return cycles >= kBigeminyMinimumCycles ? last : start;
}

std::vector<PlannedEpisode> episodesOf(const std::vector<PlannedBeat>& beats, const std::vector<Kind>& kinds,
                                       int32_t pauseQuarterTicks) {
    using E = EpisodeRules;
    std::vector<PlannedEpisode> out;
    for (size_t k = 1; k < beats.size(); ++k) {
        if (beats[k - 1].formCode == kFormNone || beats[k].formCode == kFormNone) continue;
        if (beats[k].positionQuarterTicks - beats[k - 1].positionQuarterTicks >= pauseQuarterTicks)
            out.push_back(episode(beats, E::kPause, k - 1, k));
    }
    size_t i = 0;
    while (i < beats.size()) {
        const Kind kind = kinds[i];
        if (kind != Kind::Ventricular && kind != Kind::Supraventricular) {
            ++i;
            continue;
        }
        if (kind == Kind::Ventricular && (i + 1 >= kinds.size() || kinds[i + 1] != Kind::Ventricular)) {
            const size_t end = bigeminyEnd(kinds, i);
            if (end != i) {
                out.push_back(episode(beats, E::kVentricularBigeminy, i, end));
                i = end + 1;
                continue;
            }
        }
        size_t end = i;
        while (end + 1 < kinds.size() && kinds[end + 1] == kind) ++end;
        out.push_back(episode(beats, trainCode(kind, end - i + 1), i, end));
        i = end + 1;
    }
    EpisodeRules::sortForStorage(out);
    return out;
}

std::vector<Kind> kindsOf(const std::vector<PlannedBeat>& beats) {
    std::vector<Kind> kinds(beats.size());
    std::transform(beats.begin(), beats.end(), kinds.begin(), kindOf);
    return kinds;
}

// The beats as the rhythm sees them, without lead-off marks (no beat: the
// interval across one stays, and is too long to count when the electrodes
// were off long); `indices` maps them back.
std::vector<RhythmBeat> rhythmOf(const std::vector<PlannedBeat>& beats, bool labelsTellPremature,
                                 std::vector<size_t>& indices) {
    std::vector<RhythmBeat> out;
    out.reserve(beats.size());
    for (size_t i = 0; i < beats.size(); ++i) {
        if (beats[i].formCode == kFormNone) continue;
        const Kind kind = kindOf(beats[i]);
        out.push_back({static_cast<double>(beats[i].positionQuarterTicks) / kQuarterTicksPerSecond,
                       kind == Kind::Normal || kind == Kind::Supraventricular,
                       labelsTellPremature && kind == Kind::Supraventricular, beats[i].pWaveSeen});
        indices.push_back(i);
    }
    return out;
}

}  // namespace

std::vector<PlannedEpisode> EpisodeRules::derive(const std::vector<PlannedBeat>& beats, int32_t pauseQuarterTicks) {
    return episodesOf(beats, kindsOf(beats), pauseQuarterTicks);
}

std::vector<PlannedEpisode> EpisodeRules::derive(const std::vector<PlannedBeat>& beats,
                                                 const std::vector<PlannedEpisode>& fibrillation,
                                                 int32_t pauseQuarterTicks) {
    std::vector<Kind> kinds = kindsOf(beats);
    for (const PlannedEpisode& f : fibrillation)
        for (auto i = static_cast<size_t>(f.firstBeat); i <= static_cast<size_t>(f.lastBeat) && i < kinds.size(); ++i)
            if (kinds[i] == Kind::Supraventricular) kinds[i] = Kind::Normal;
    std::vector<PlannedEpisode> out = episodesOf(beats, kinds, pauseQuarterTicks);
    out.insert(out.end(), fibrillation.begin(), fibrillation.end());
    return out;
}

std::vector<PlannedEpisode> EpisodeRules::deriveWithRhythm(const std::vector<PlannedBeat>& beats,
                                                           int32_t pauseQuarterTicks) {
    return derive(beats, detectFibrillation(beats, true), pauseQuarterTicks);
}

std::vector<PlannedEpisode> EpisodeRules::detectFibrillation(const std::vector<PlannedBeat>& beats,
                                                             bool labelsTellPremature) {
    std::vector<size_t> indices;
    const std::vector<RhythmBeat> rhythm = rhythmOf(beats, labelsTellPremature, indices);
    std::vector<PlannedEpisode> out;
    for (const BeatRange& r : AtrialFibrillationDetector::detect(rhythm))
        out.push_back(episode(beats, kAtrialFibrillation, indices[r.first], indices[r.last]));
    return out;
}

std::vector<PlannedEpisode> EpisodeRules::fibrillationOf(const std::vector<PlannedBeat>& beats,
                                                         const std::vector<std::pair<int64_t, int64_t>>& stretches) {
    std::vector<PlannedEpisode> out;
    for (const auto& [start, end] : stretches) {
        const auto at = [&](int64_t q) {
            return static_cast<int32_t>(
                std::lower_bound(beats.begin(), beats.end(), q,
                                 [](const PlannedBeat& b, int64_t v) { return b.positionQuarterTicks < v; }) -
                beats.begin());
        };
        PlannedEpisode e;
        e.code = kAtrialFibrillation;
        e.firstBeat = at(start);
        e.lastBeat = std::max(e.firstBeat, at(end) - 1);
        e.startTenths = static_cast<int32_t>(tenthsOfQuarterTicks(start));
        e.endTenths = static_cast<int32_t>(tenthsCoveringQuarterTicks(end));
        out.push_back(e);
    }
    return out;
}

void EpisodeRules::relabelInsideFibrillation(std::vector<PlannedBeat>& beats,
                                             const std::vector<PlannedEpisode>& fibrillation) {
    for (const PlannedEpisode& f : fibrillation)
        for (auto i = static_cast<size_t>(f.firstBeat); i <= static_cast<size_t>(f.lastBeat) && i < beats.size(); ++i)
            if (beats[i].beatClass == kClassSupraventricular && beats[i].formCode != kFormNone)
                beats[i].beatClass = kClassNormal;
}

void EpisodeRules::sortForStorage(std::vector<PlannedEpisode>& episodes) {
    std::stable_sort(episodes.begin(), episodes.end(), [](const PlannedEpisode& a, const PlannedEpisode& b) {
        const bool aLast = a.code == kAtrialFibrillation;
        const bool bLast = b.code == kAtrialFibrillation;
        return aLast != bLast ? bLast : a.startTenths < b.startTenths;
    });
}

void EpisodeRules::flagForReport(std::vector<PlannedEpisode>& episodes) {
    for (uint8_t code : {kVentricularTachycardia, kSupraventricularTachycardia, kVentricularRun}) {
        for (PlannedEpisode& e : episodes) {
            if (e.code != code) continue;
            e.flagged = true;
            break;
        }
    }
    PlannedEpisode* longest = nullptr;
    for (PlannedEpisode& e : episodes)
        if (e.code == kPause &&
            (longest == nullptr || e.endTenths - e.startTenths > longest->endTenths - longest->startTenths))
            longest = &e;
    if (longest != nullptr) longest->flagged = true;
}

}  // namespace lumen
