// SPDX-License-Identifier: GPL-3.0-or-later
#include <soxr.h>

#include "import/import_error.h"
#include "import/resampler.h"
#include "import/signal_conditioner.h"

namespace lumen {

namespace {

constexpr size_t kOutputFrames = 4096;

class SoxrResampler final : public Resampler {
public:
    SoxrResampler(soxr_t resampler, unsigned channels) : resampler_(resampler), channels_(channels) {}
    ~SoxrResampler() override { soxr_delete(resampler_); }
    SoxrResampler(const SoxrResampler&) = delete;
    SoxrResampler& operator=(const SoxrResampler&) = delete;

    void drain(const float* in, size_t frames, std::vector<float> (&out)[2]) override {
        float buffer[kOutputFrames * 2];
        size_t used = 0;
        do {
            size_t produced = 0;
            soxr_process(resampler_, in, in == nullptr ? 0 : frames, &used, buffer, kOutputFrames, &produced);
            for (size_t i = 0; i < produced; ++i)
                for (unsigned c = 0; c < channels_; ++c) out[c].push_back(buffer[i * channels_ + c]);
            if (in != nullptr) {
                in += used * channels_;
                frames -= used;
            } else if (produced == 0) {
                break;
            }
        } while (in == nullptr || frames > 0);
    }

private:
    soxr_t resampler_;
    unsigned channels_;
};

}  // namespace

std::unique_ptr<Resampler> Resampler::make(double fromHz, unsigned channels, const std::string& sourceName) {
    soxr_error_t error = nullptr;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_t resampler = soxr_create(fromHz, kStoredRateHz, channels, &error, &io, &quality, nullptr);
    if (error != nullptr) throw ImportError(sourceName, std::string("cannot resample: ") + error);
    return std::make_unique<SoxrResampler>(resampler, channels);
}

}  // namespace lumen
