#include "analysis/noise_detector.h"

#include <algorithm>

namespace lumen {
namespace {

constexpr double kPeakFractionOfQrs = 0.3;
constexpr int kNoisyPeaksPerSecond = 4;

}  // namespace

void NoiseDetector::scan(const WindowSignals& w, int64_t from, int64_t to, double qrsLevel,
                         std::vector<SampleStretch>& stretches) {
    const auto second = static_cast<int64_t>(w.rateHz);
    const auto level = static_cast<float>(kPeakFractionOfQrs * qrsLevel);
    for (int64_t start = from; start < to; start += second) {
        const int64_t end = std::min(to, start + second);
        int peaks = 0;
        for (int64_t s = std::max(start, w.firstSample + 1); s < end && w.holds(s, 1, 1); ++s) {
            const float* m = w.integrated.data() + w.indexOf(s);
            peaks += m[0] > level && m[0] > m[-1] && m[0] >= m[1];
        }
        if (peaks < kNoisyPeaksPerSecond) continue;
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
