// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/flutter_detector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumen {
namespace {

constexpr double kTestSeconds = 4.0;  // a few flutter waves: the usual length of the VF filter's test
// The leakage averaged over the leads: below 0.5 only flutter (the nearest
// other rhythm, ventricular tachycardia, leaks 0.55 and more); once inside,
// waves of changing size and rate leak more, the ECG after them 0.8 and more.
constexpr double kMaxLeakage = 0.5;
constexpr double kStayLeakage = 0.7;
constexpr double kLowestHz = 2.0, kHighestHz = 8.0;  // 120-480 waves a minute

}  // namespace

FlutterDetector::Leakage FlutterDetector::leakage(const WindowSignals& w, int c, int64_t from, int64_t to) {
    const float* x = w.clean[c].data() + w.indexOf(from);
    const auto n = static_cast<size_t>(to - from);
    double level = 0.0, change = 0.0;
    for (size_t i = 1; i < n; ++i) {
        level += std::fabs(x[i]);
        change += std::fabs(x[i] - x[i - 1]);
    }
    Leakage out;
    if (change <= 0.0) return out;
    // Half the mean period, for a sinusoid: pi × mean |x| / mean |dx|.
    const auto half = static_cast<size_t>(std::lround(std::numbers::pi * level / change));
    if (half < 1 || half >= n) return out;
    out.frequencyHz = w.rateHz / (2.0 * static_cast<double>(half));
    double leaked = 0.0, total = 0.0;
    for (size_t i = half; i < n; ++i) {
        leaked += std::fabs(x[i] + x[i - half]);
        total += std::fabs(x[i]) + std::fabs(x[i - half]);
    }
    out.leakage = total > 0.0 ? leaked / total : 1.0;
    return out;
}

void FlutterDetector::scan(const WindowSignals& w, int64_t from, int64_t to, std::vector<SampleStretch>& stretches) {
    const auto second = static_cast<int64_t>(w.rateHz);
    const auto test = static_cast<int64_t>(kTestSeconds * w.rateHz);
    const int64_t last = w.firstSample + static_cast<int64_t>(w.size());
    for (int64_t start = from; start < to; start += second) {
        const int64_t end = std::min(to, start + second);
        // Each second is judged by the few seconds around it.
        const int64_t testFrom = std::max(w.firstSample, (start + end) / 2 - test / 2);
        const int64_t testTo = std::min(last, testFrom + test);
        if (testTo - testFrom < test / 2) continue;
        // Flutter shows in both leads; one lead alone may carry a sinusoidal artefact.
        double leaked = 0.0, frequencyHz = 0.0;
        for (int c = 0; c < w.channels; ++c) {
            const Leakage l = leakage(w, c, testFrom, testTo);
            leaked += l.leakage / w.channels;
            frequencyHz += l.frequencyHz / w.channels;
        }
        // Once in flutter the signal stays there through waves of changing
        // size and rate, which leak more.
        const bool inside = !stretches.empty() && stretches.back().end >= start;
        const bool flutter =
            leaked < (inside ? kStayLeakage : kMaxLeakage) && frequencyHz >= kLowestHz && frequencyHz <= kHighestHz;
        if (!flutter) continue;
        if (inside)
            stretches.back().end = end;
        else
            stretches.push_back({start, end});
    }
}

}  // namespace lumen
