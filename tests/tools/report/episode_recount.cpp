// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <cmath>

#include "store/time_units.h"
#include "tools/report/study_recount.h"

namespace lumen {
namespace {

constexpr int64_t kPauseQuarterTicks = 400;  // 2.0 s
constexpr size_t kTachycardiaMinimumBeats = 8;
constexpr int kBigeminyMinimumBeats = 3;
constexpr int64_t kMsPerQuarterTick = 5;
constexpr double kRateQuarterTicks = 12000.0;  // 60 000 ms per minute / 5 ms

// A no-beat word interrupts every sequence as an artefact does.
BeatClass rhythmOf(BeatWord word, bool inFibrillation) {
    if (isNoBeat(word)) return BeatClass::Artefact;
    return word.beatClass() == BeatClass::Supraventricular && inFibrillation ? BeatClass::Normal : word.beatClass();
}

void addEctopy(Expectations& out, std::span<const BeatWord> words, const std::vector<RecountedEpisode>& episodes,
               bool ventricular) {
    const std::string prefix = ventricular ? "ventricular." : "supraventricular.";
    std::array<int64_t, 5> byShape{};
    int64_t longest = 0;
    double fastest = 0.0;
    for (const RecountedEpisode& e : episodes) {
        if (e.shape == Shape::Pause || e.ventricular != ventricular) continue;
        ++byShape[static_cast<size_t>(e.shape)];
        if (e.shape != Shape::Run && e.shape != Shape::Tachycardia) continue;
        const auto beats = static_cast<int64_t>(e.lastWord - e.firstWord + 1);
        longest = std::max(longest, beats);
        const double length = quarterTicksBetween(words, e.firstWord, e.lastWord);
        fastest = std::max(fastest, length > 0.0 ? static_cast<double>(beats - 1) / length : 0.0);
    }
    const char* keys[] = {"isolated", "couplets", "runs", "tachycardias", "bigeminy"};
    for (size_t k = 0; k < (ventricular ? 5u : 4u); ++k) expect(out, prefix + keys[k], byShape[k]);
    expect(out, prefix + "longestRunBeats", longest);
    expect(out, prefix + "fastestRunRate", std::round(kRateQuarterTicks * fastest));
}

}  // namespace

std::vector<RecountedEpisode> recountEpisodes(std::span<const BeatWord> words, const std::vector<bool>& inFibrillation,
                                              Expectations& out) {
    std::vector<RecountedEpisode> episodes;
    int64_t longestPause = 0;
    int64_t longestPauseTick = 0;
    for (size_t k = 1; k < words.size(); ++k) {
        const auto length = static_cast<int64_t>(quarterTicksBetween(words, k - 1, k));
        if (isNoBeat(words[k - 1]) || isNoBeat(words[k]) || length < kPauseQuarterTicks) continue;
        episodes.push_back({Shape::Pause, false, k - 1, k});
        if (length <= longestPause) continue;  // the earlier pause on a tie
        longestPause = length;
        longestPauseTick = words[k - 1].positionQuarterTicks() / kQuarterTicksPerTick;
    }
    expect(out, "pauses.count", episodes.size());
    expect(out, "pauses.longestMs", longestPause * kMsPerQuarterTick);
    expect(out, "pauses.longestTick", longestPauseTick);
    std::vector<BeatClass> rhythms;
    for (size_t k = 0; k < words.size(); ++k)
        rhythms.push_back(rhythmOf(words[k], k < inFibrillation.size() && inFibrillation[k]));
    const auto at = [&](size_t i) { return i < rhythms.size() ? rhythms[i] : BeatClass::Artefact; };
    size_t i = 0;
    while (i < rhythms.size()) {
        const BeatClass rhythm = rhythms[i];
        if (rhythm != BeatClass::Ventricular && rhythm != BeatClass::Supraventricular) {
            ++i;
            continue;
        }
        const bool ventricular = rhythm == BeatClass::Ventricular;
        size_t end = i + 1;
        while (end < rhythms.size() && rhythms[end] == rhythm) ++end;
        // N V N V N V ...: single ventricular beats each after a normal one.
        int bigeminal = 0;
        size_t last = i;
        for (size_t v = i; ventricular && end == i + 1 && at(v) == BeatClass::Ventricular; v += 2) {
            if (v == 0 || at(v - 1) != BeatClass::Normal || at(v + 1) == BeatClass::Ventricular) break;
            ++bigeminal;
            last = v;
            if (at(v + 1) != BeatClass::Normal) break;
        }
        if (bigeminal >= kBigeminyMinimumBeats) {
            episodes.push_back({Shape::Bigeminy, true, i, last});
            i = last + 1;
            continue;
        }
        const size_t beats = end - i;
        const Shape shape = beats == 1                         ? Shape::Isolated
                            : beats == 2                       ? Shape::Couplet
                            : beats < kTachycardiaMinimumBeats ? Shape::Run
                                                               : Shape::Tachycardia;
        episodes.push_back({shape, ventricular, i, end - 1});
        i = end;
    }
    addEctopy(out, words, episodes, true);
    addEctopy(out, words, episodes, false);
    return episodes;
}

}  // namespace lumen
