// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumen {

// The width over which the squared slope is integrated: about one QRS.
inline constexpr double kQrsIntegrationSeconds = 0.15;

// The filtered signals of one stretch of the source that the analysis
// works on; index 0 is source sample `firstSample`.
struct WindowSignals {
    int64_t firstSample = 0;
    double rateHz = 0.0;
    int channels = 2;
    std::vector<float> clean[2];    // 0.5-40 Hz: the shape, the ST level
    std::vector<float> slope;       // squared 5-15 Hz slope of the chosen leads, each scaled to its own QRS slope
    std::vector<float> integrated;  // the slope integrated over a QRS width

    size_t size() const { return slope.size(); }
    size_t indexOf(int64_t sample) const { return static_cast<size_t>(sample - firstSample); }
    bool holds(int64_t sample, int64_t before, int64_t after) const {
        return sample - before >= firstSample && sample + after < firstSample + static_cast<int64_t>(size());
    }
};

}  // namespace lumen
