// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/lead_selector.h"

#include <algorithm>
#include <cmath>

#include "analysis/ecg_filters.h"
#include "analysis/window_signals.h"

namespace lumen {

std::vector<float> LeadSelector::busyShares(std::span<const float> slope, double rateHz) {
    std::vector<float> integrated(slope.size());
    EcgFilters::movingAverage(slope, integrated, static_cast<int>(std::lround(kQrsIntegrationSeconds * rateHz)));
    const auto second = std::max<size_t>(1, static_cast<size_t>(rateHz));
    // The QRS level: the median of the per-second maxima.
    std::vector<float> maxima;
    for (size_t s = 0; s < integrated.size(); s += second)
        maxima.push_back(
            *std::max_element(integrated.begin() + static_cast<long>(s),
                              integrated.begin() + static_cast<long>(std::min(integrated.size(), s + second))));
    std::nth_element(maxima.begin(), maxima.begin() + static_cast<long>(maxima.size() / 2), maxima.end());
    const float level = kBusyLevel * (maxima.empty() ? 0.0f : maxima[maxima.size() / 2]);
    std::vector<float> shares;
    for (size_t s = 0; s < integrated.size(); s += second) {
        const size_t end = std::min(integrated.size(), s + second);
        size_t busy = 0;
        for (size_t i = s; i < end; ++i) busy += integrated[i] > level;
        shares.push_back(static_cast<float>(busy) / static_cast<float>(end - s));
    }
    return shares;
}

void LeadSelector::combine(const std::vector<float> (&slopes)[2], const std::vector<float> (&busy)[2], double rateHz,
                           std::vector<float>& out) {
    const std::vector<float>& slope0 = slopes[0];
    const std::vector<float>& slope1 = slopes[1];
    const std::vector<float>& busy0 = busy[0];
    const std::vector<float>& busy1 = busy[1];
    const auto second = std::max<size_t>(1, static_cast<size_t>(rateHz));
    out.resize(slope0.size());
    // Noise comes and goes within seconds: a lead busy in a neighbouring second counts as busy.
    auto around = [](const std::vector<float>& v, size_t b) {
        float most = v[b];
        if (b > 0) most = std::max(most, v[b - 1]);
        if (b + 1 < v.size()) most = std::max(most, v[b + 1]);
        return most;
    };
    for (size_t b = 0; b < busy0.size(); ++b) {
        float w0 = 1.0f, w1 = 1.0f;
        if (around(busy0, b) > kNoisyShare && busy1[b] < kQuietShare) w0 = 0.0f, w1 = 2.0f;
        if (around(busy1, b) > kNoisyShare && busy0[b] < kQuietShare) w0 = 2.0f, w1 = 0.0f;
        const size_t end = std::min(slope0.size(), (b + 1) * second);
        for (size_t i = b * second; i < end; ++i) out[i] = w0 * slope0[i] + w1 * slope1[i];
    }
}

}  // namespace lumen
