// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_scorer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace lumen {
namespace {

constexpr size_t kUnmatched = kScoreClasses;

struct Pair {
    double distance;
    size_t reference;
    size_t tested;
};

std::vector<ScoreBeat> outside(std::span<const ScoreBeat> beats, std::span<const ScoreStretch> excluded) {
    std::vector<ScoreBeat> kept;
    size_t e = 0;
    for (const ScoreBeat& b : beats) {
        while (e < excluded.size() && excluded[e].toSeconds <= b.seconds) ++e;
        if (e == excluded.size() || b.seconds < excluded[e].fromSeconds) kept.push_back(b);
    }
    return kept;
}

}  // namespace

BeatScore BeatScore::compare(std::span<const ScoreBeat> allReference, std::span<const ScoreBeat> allTested,
                             double fromSeconds, std::span<const ScoreStretch> excluded) {
    const std::vector<ScoreBeat> referenceKept = outside(allReference, excluded);
    const std::vector<ScoreBeat> testedKept = outside(allTested, excluded);
    const std::span<const ScoreBeat> reference = referenceKept, tested = testedKept;
    auto first = [&](std::span<const ScoreBeat> beats) {
        return static_cast<size_t>(std::lower_bound(beats.begin(), beats.end(), fromSeconds,
                                                    [](const ScoreBeat& b, double v) { return b.seconds < v; }) -
                                   beats.begin());
    };
    const size_t r0 = first(reference), t0 = first(tested);
    std::vector<Pair> pairs;
    size_t lo = t0;
    for (size_t r = r0; r < reference.size(); ++r) {
        while (lo < tested.size() && tested[lo].seconds < reference[r].seconds - kMatchWindowSeconds) ++lo;
        for (size_t t = lo; t < tested.size() && tested[t].seconds <= reference[r].seconds + kMatchWindowSeconds; ++t)
            pairs.push_back({std::abs(tested[t].seconds - reference[r].seconds), r, t});
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.distance < b.distance; });
    std::vector<bool> referenceUsed(reference.size(), false), testedUsed(tested.size(), false);
    BeatScore score;
    for (const Pair& p : pairs) {
        if (referenceUsed[p.reference] || testedUsed[p.tested]) continue;
        referenceUsed[p.reference] = testedUsed[p.tested] = true;
        ++score.counts[static_cast<size_t>(reference[p.reference].kind)][static_cast<size_t>(tested[p.tested].kind)];
    }
    for (size_t r = r0; r < reference.size(); ++r)
        if (!referenceUsed[r]) ++score.counts[static_cast<size_t>(reference[r].kind)][kUnmatched];
    for (size_t t = t0; t < tested.size(); ++t)
        if (!testedUsed[t]) ++score.counts[kUnmatched][static_cast<size_t>(tested[t].kind)];
    return score;
}

void BeatScore::add(const BeatScore& other) {
    for (size_t r = 0; r <= kUnmatched; ++r)
        for (size_t t = 0; t <= kUnmatched; ++t) counts[r][t] += other.counts[r][t];
}

int64_t BeatScore::matched() const {
    int64_t n = 0;
    for (size_t r = 0; r < kUnmatched; ++r)
        for (size_t t = 0; t < kUnmatched; ++t) n += counts[r][t];
    return n;
}

int64_t BeatScore::missed() const {
    int64_t n = 0;
    for (size_t r = 0; r < kUnmatched; ++r) n += counts[r][kUnmatched];
    return n;
}

int64_t BeatScore::extra() const {
    int64_t n = 0;
    for (size_t t = 0; t < kUnmatched; ++t) n += counts[kUnmatched][t];
    return n;
}

int64_t BeatScore::classReference(ScoreClass c) const {
    int64_t n = 0;
    for (size_t t = 0; t <= kUnmatched; ++t) n += counts[static_cast<size_t>(c)][t];
    return n;
}

int64_t BeatScore::classTested(ScoreClass c) const {
    const auto t = static_cast<size_t>(c);
    return counts[0][t] + counts[1][t] + counts[2][t] + counts[kUnmatched][t];
}

std::string BeatScore::header() {
    return "record      beats   QRS Se  QRS +P |   V ref    V Se    V +P |   S ref    S Se    S +P";
}

std::string BeatScore::row(const std::string& name) const {
    char line[160];
    std::snprintf(line, sizeof line, "%-8s %8lld %7.2f%% %7.2f%% | %7lld %6.2f%% %6.2f%% | %7lld %6.2f%% %6.2f%%",
                  name.c_str(), static_cast<long long>(matched() + missed()), percent(matched(), matched() + missed()),
                  percent(matched(), matched() + extra()), static_cast<long long>(classReference(ScoreClass::V)),
                  percent(classTruePositives(ScoreClass::V), classReference(ScoreClass::V)),
                  percent(classTruePositives(ScoreClass::V), classTested(ScoreClass::V)),
                  static_cast<long long>(classReference(ScoreClass::S)),
                  percent(classTruePositives(ScoreClass::S), classReference(ScoreClass::S)),
                  percent(classTruePositives(ScoreClass::S), classTested(ScoreClass::S)));
    return line;
}

}  // namespace lumen
