// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace lumen {

// Brings a source's samples to the stored rate of 50 Hz: libsoxr's
// high-quality filter (resampler_soxr.cpp) or, in a build without it, only
// sources already at 50 Hz (resampler_none.cpp).
class Resampler {
public:
    // Throws ImportError naming `sourceName` when the rate cannot be served.
    static std::unique_ptr<Resampler> make(double fromHz, unsigned channels, const std::string& sourceName);
    virtual ~Resampler() = default;

    // Takes `frames` interleaved frames (null `in`: the end of the signal,
    // whatever is held back comes out) and appends the output per channel.
    virtual void drain(const float* in, size_t frames, std::vector<float> (&out)[2]) = 0;
};

}  // namespace lumen
