#include "tools/report/episode_recount.h"

#include <utility>

namespace lumen {
namespace {

constexpr uint32_t kPauseQuarterTicks = 400;  // 2.0 s
constexpr size_t kTachycardiaMinimumBeats = 8;
constexpr int kBigeminyMinimumBeats = 3;

enum class Rhythm : uint8_t { Normal, Supraventricular, Ventricular, Interruption };

Rhythm rhythmOf(BeatWord word, bool insideFibrillation) {
    if (isNoBeat(word)) return Rhythm::Interruption;
    switch (word.beatClass()) {
    case BeatClass::Ventricular: return Rhythm::Ventricular;
    case BeatClass::Supraventricular: return insideFibrillation ? Rhythm::Normal : Rhythm::Supraventricular;
    case BeatClass::Artefact: return Rhythm::Interruption;
    default: return Rhythm::Normal;
    }
}

RecountedKind trainKind(Rhythm rhythm, size_t beats) {
    const bool v = rhythm == Rhythm::Ventricular;
    if (beats == 1) return v ? RecountedKind::VentricularIsolated : RecountedKind::SupraventricularIsolated;
    if (beats == 2) return v ? RecountedKind::VentricularCouplet : RecountedKind::SupraventricularCouplet;
    if (beats < kTachycardiaMinimumBeats) return v ? RecountedKind::VentricularRun : RecountedKind::SupraventricularRun;
    return v ? RecountedKind::VentricularTachycardia : RecountedKind::SupraventricularTachycardia;
}

class EpisodeWalk {
public:
    explicit EpisodeWalk(std::vector<Rhythm> rhythms) : rhythms_(std::move(rhythms)) {}

    void walk(std::vector<RecountedEpisode>& out) const {
        size_t i = 0;
        while (i < rhythms_.size()) {
            const Rhythm rhythm = rhythms_[i];
            if (rhythm != Rhythm::Ventricular && rhythm != Rhythm::Supraventricular) {
                ++i;
                continue;
            }
            const size_t trainEnd = sameUntil(i);
            const size_t bigeminyLast = rhythm == Rhythm::Ventricular && trainEnd == i + 1 ? bigeminyLastOf(i) : i;
            if (bigeminyLast != i) {
                out.push_back({RecountedKind::VentricularBigeminy, i, bigeminyLast});
                i = bigeminyLast + 1;
                continue;
            }
            out.push_back({trainKind(rhythm, trainEnd - i), i, trainEnd - 1});
            i = trainEnd;
        }
    }

private:
    Rhythm at(size_t i) const { return i < rhythms_.size() ? rhythms_[i] : Rhythm::Interruption; }

    // One past the last word of the train of one rhythm that starts at `first`.
    size_t sameUntil(size_t first) const {
        size_t end = first + 1;
        while (end < rhythms_.size() && rhythms_[end] == rhythms_[first]) ++end;
        return end;
    }

    // N V N V N V ...: the last single ventricular beat of a bigeminy that
    // starts at `first`, or `first` when none does.
    size_t bigeminyLastOf(size_t first) const {
        int beats = 0;
        size_t last = first;
        for (size_t v = first; at(v) == Rhythm::Ventricular; v += 2) {
            const bool afterNormal = v > 0 && at(v - 1) == Rhythm::Normal;
            if (!afterNormal || at(v + 1) == Rhythm::Ventricular) break;
            ++beats;
            last = v;
            if (at(v + 1) != Rhythm::Normal) break;
        }
        return beats >= kBigeminyMinimumBeats ? last : first;
    }

    std::vector<Rhythm> rhythms_;
};

}  // namespace

std::vector<RecountedEpisode> recountEpisodes(std::span<const BeatWord> words,
                                              const std::vector<bool>& insideFibrillation) {
    std::vector<RecountedEpisode> out;
    for (size_t k = 1; k < words.size(); ++k) {
        if (isNoBeat(words[k - 1]) || isNoBeat(words[k])) continue;
        if (words[k].positionQuarterTicks() >= words[k - 1].positionQuarterTicks() + kPauseQuarterTicks)
            out.push_back({RecountedKind::Pause, k - 1, k});
    }
    std::vector<Rhythm> rhythms;
    rhythms.reserve(words.size());
    for (size_t k = 0; k < words.size(); ++k)
        rhythms.push_back(rhythmOf(words[k], k < insideFibrillation.size() && insideFibrillation[k]));
    EpisodeWalk(std::move(rhythms)).walk(out);
    return out;
}

}  // namespace lumen
