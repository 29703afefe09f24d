// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/form_clusterer.h"

#include <algorithm>
#include <numeric>

#include "analysis/shape_match.h"

namespace lumen {
namespace {

// A form's shape follows its beats slowly once it has this many, so that
// one odd beat cannot pull it away.
constexpr int64_t kShapeMemoryBeats = 50;

template <size_t N>
void moveToward(LeadShapes<N>& mean, const LeadShapes<N>& beat, double rate) {
    for (size_t c = 0; c < 2; ++c)
        for (size_t k = 0; k < N; ++k) mean[c][k] += static_cast<float>(rate * (beat[c][k] - mean[c][k]));
}

bool sameSize(const ShapeMatch& m) {
    return m.amplitudeRatio > FormClusterer::kSameFormAmplitudeLow &&
           m.amplitudeRatio < FormClusterer::kSameFormAmplitudeHigh;
}

// The form the beat is most like, preferring those of its size; -1 when none.
int closestForm(const std::vector<BeatForm>& forms, const MeasuredBeat& beat, double* correlation) {
    int best = -1, bestAnySize = -1;
    double bestR = -2.0, bestAnySizeR = -2.0;
    for (size_t f = 0; f < forms.size(); ++f) {
        const ShapeMatch m = ShapeMatch::of(beat.shape, forms[f].shape);
        if (m.correlation > bestAnySizeR) {
            bestAnySizeR = m.correlation;
            bestAnySize = static_cast<int>(f);
        }
        if (sameSize(m) && m.correlation > bestR) {
            bestR = m.correlation;
            best = static_cast<int>(f);
        }
    }
    if (best < 0) {
        *correlation = -2.0;
        return bestAnySize;
    }
    *correlation = bestR;
    return best;
}

void join(BeatForm& form, const MeasuredBeat& beat) {
    ++form.beatCount;
    const double rate = 1.0 / static_cast<double>(std::min(form.beatCount, kShapeMemoryBeats));
    moveToward(form.shape, beat.shape, rate);
    form.widthSeconds += rate * (beat.widthSeconds - form.widthSeconds);
}

}  // namespace

FormClusterer::Result FormClusterer::cluster(const std::vector<const MeasuredBeat*>& beats) {
    std::vector<BeatForm> seeds;
    for (const MeasuredBeat* beat : beats) {
        double r = 0.0;
        const int f = closestForm(seeds, *beat, &r);
        if (f >= 0 && (r >= kSameFormCorrelation || seeds.size() >= kMaxForms)) {
            join(seeds[static_cast<size_t>(f)], *beat);
        } else {
            seeds.push_back({beat->shape, {}, {}, beat->widthSeconds, 1});
        }
    }
    // Second pass: every beat to its closest form, means taken afresh.
    Result out;
    out.formOf.resize(beats.size());
    std::vector<BeatForm> sums(seeds.size());
    for (size_t i = 0; i < beats.size(); ++i) {
        double r = 0.0;
        const int f = std::max(0, closestForm(seeds, *beats[i], &r));
        out.formOf[i] = f;
        BeatForm& s = sums[static_cast<size_t>(f)];
        ++s.beatCount;
        const double rate = 1.0 / static_cast<double>(s.beatCount);
        moveToward(s.shape, beats[i]->shape, rate);
        moveToward(s.pWave, beats[i]->pWave, rate);
        moveToward(s.tWave, beats[i]->tWave, rate);
        s.widthSeconds += rate * (beats[i]->widthSeconds - s.widthSeconds);
    }
    std::vector<int32_t> order(sums.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return sums[static_cast<size_t>(a)].beatCount > sums[static_cast<size_t>(b)].beatCount;
    });
    std::vector<int32_t> rank(sums.size());
    for (size_t k = 0; k < order.size(); ++k) {
        rank[static_cast<size_t>(order[k])] = static_cast<int32_t>(k);
        if (sums[static_cast<size_t>(order[k])].beatCount > 0) out.forms.push_back(sums[static_cast<size_t>(order[k])]);
    }
    for (int32_t& f : out.formOf) f = rank[static_cast<size_t>(f)];
    return out;
}

}  // namespace lumen
