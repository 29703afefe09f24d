// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/import_error.h"
#include "import/resampler.h"
#include "import/signal_conditioner.h"

namespace lumen {

namespace {

// A source recorded at the stored rate needs no filter: its samples go
// through as they are.
class PassThrough final : public Resampler {
public:
    explicit PassThrough(unsigned channels) : channels_(channels) {}
    void drain(const float* in, size_t frames, std::vector<float> (&out)[2]) override {
        if (in == nullptr) return;
        for (size_t i = 0; i < frames; ++i)
            for (unsigned c = 0; c < channels_; ++c) out[c].push_back(in[i * channels_ + c]);
    }

private:
    unsigned channels_;
};

}  // namespace

std::unique_ptr<Resampler> Resampler::make(double fromHz, unsigned channels, const std::string& sourceName) {
    if (fromHz != kStoredRateHz) {
        throw ImportError(sourceName, "cannot resample from " + std::to_string(fromHz) +
                                          " Hz: this build of holter has no libsoxr");
    }
    return std::make_unique<PassThrough>(channels);
}

}  // namespace lumen
