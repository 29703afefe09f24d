#include "assembly/episode_rules.h"

#include <algorithm>

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

}  // namespace

std::vector<PlannedEpisode> EpisodeRules::derive(const std::vector<PlannedBeat>& beats, int32_t pauseQuarterTicks) {
    std::vector<Kind> kinds(beats.size());
    std::transform(beats.begin(), beats.end(), kinds.begin(), kindOf);
    std::vector<PlannedEpisode> out;
    for (size_t k = 1; k < beats.size(); ++k) {
        if (beats[k - 1].formCode == kFormNone || beats[k].formCode == kFormNone) continue;
        if (beats[k].positionQuarterTicks - beats[k - 1].positionQuarterTicks >= pauseQuarterTicks)
            out.push_back(episode(beats, kPause, k - 1, k));
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
                out.push_back(episode(beats, kVentricularBigeminy, i, end));
                i = end + 1;
                continue;
            }
        }
        size_t end = i;
        while (end + 1 < kinds.size() && kinds[end + 1] == kind) ++end;
        out.push_back(episode(beats, trainCode(kind, end - i + 1), i, end));
        i = end + 1;
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PlannedEpisode& a, const PlannedEpisode& b) { return a.startTenths < b.startTenths; });
    return out;
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
