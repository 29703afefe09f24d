// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cmath>
#include <cstddef>

namespace lumen {

// How alike a beat's two-lead shape is to a template: the correlation and
// the amplitude ratio (beat / template) of each lead, and both weighted by
// the template's size in that lead, so that the lead with the larger wave
// carries more weight.
struct ShapeMatch {
    double correlation = 0.0;
    double amplitudeRatio = 1.0;
    std::array<double, 2> leadCorrelation{};

    template <size_t N>
    static ShapeMatch of(const std::array<std::array<float, N>, 2>& beat,
                         const std::array<std::array<float, N>, 2>& model) {
        ShapeMatch m{0.0, 0.0, {}};
        double weightSum = 0.0;
        for (size_t c = 0; c < 2; ++c) {
            const Moments a = momentsOf(beat[c]), b = momentsOf(model[c]);
            double cross = 0.0;
            for (size_t k = 0; k < N; ++k) cross += (beat[c][k] - a.mean) * (model[c][k] - b.mean);
            const double r = a.spread > 0 && b.spread > 0 ? cross / (a.spread * b.spread) : 0.0;
            m.leadCorrelation[c] = r;
            m.correlation += r * b.spread;
            m.amplitudeRatio += (b.spread > 0 ? a.spread / b.spread : 1.0) * b.spread;
            weightSum += b.spread;
        }
        if (weightSum <= 0) return {0.0, 1.0, {}};
        m.correlation /= weightSum;
        m.amplitudeRatio /= weightSum;
        return m;
    }

    struct Moments {
        double mean = 0.0, spread = 0.0;  // spread: root of the summed squares about the mean
    };
    template <size_t N>
    static Moments momentsOf(const std::array<float, N>& v) {
        Moments m;
        for (float x : v) m.mean += x;
        m.mean /= static_cast<double>(N);
        for (float x : v) m.spread += (x - m.mean) * (x - m.mean);
        m.spread = std::sqrt(m.spread);
        return m;
    }
};

}  // namespace lumen
