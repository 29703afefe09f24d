// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/noise_detector.h"

#include <algorithm>

namespace lumen {
namespace {

constexpr double kActiveFractionOfQrs = 0.3;
constexpr double kNoisyActiveShare = 0.6;

}  // namespace

void NoiseDetector::scan(const WindowSignals& w, int64_t from, int64_t to, double qrsLevel,
                         std::vector<SampleStretch>& stretches) {
    const auto second = static_cast<int64_t>(w.rateHz);
    const auto level = static_cast<float>(kActiveFractionOfQrs * qrsLevel);
    for (int64_t start = from; start < to; start += second) {
        const int64_t end = std::min(to, start + second);
        int64_t active = 0;
        for (int64_t s = std::max(start, w.firstSample); s < end; ++s) active += w.integrated[w.indexOf(s)] > level;
        if (static_cast<double>(active) < kNoisyActiveShare * static_cast<double>(end - start)) continue;
        if (!stretches.empty() && stretches.back().end >= start)
            stretches.back().end = end;
        else
            stretches.push_back({start, end});
    }
}

bool NoiseDetector::inside(const std::vector<SampleStretch>& stretches, int64_t sample) {
    const auto it = std::upper_bound(stretches.begin(), stretches.end(), sample,
                                     [](int64_t v, const SampleStretch& s) { return v < s.start; });
    return it != stretches.begin() && sample < std::prev(it)->end;
}

}  // namespace lumen
