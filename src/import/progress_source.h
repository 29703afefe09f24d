// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <atomic>
#include <memory>

#include "import/signal_source.h"

namespace lumen {

// Passes a source's samples on unchanged and tells how far the reading has
// come, as a fraction another thread may watch (a progress display).
class ProgressSource : public SignalSource {
public:
    ProgressSource(std::unique_ptr<SignalSource> inner, std::atomic<double>& fraction, double share)
        : inner_(std::move(inner)), fraction_(fraction), share_(share) {}

    double frequencyHz() const override { return inner_->frequencyHz(); }
    int64_t lengthSamples() const override { return inner_->lengthSamples(); }
    int channelCount() const override { return inner_->channelCount(); }
    std::string channelLabel(int channel) const override { return inner_->channelLabel(channel); }
    size_t read(std::span<float> out0, std::span<float> out1) override {
        const size_t n = inner_->read(out0, out1);
        readSamples_ += static_cast<int64_t>(n);
        const int64_t length = inner_->lengthSamples();
        if (length > 0) fraction_.store(share_ * static_cast<double>(std::min(readSamples_, length)) / length);
        return n;
    }

private:
    std::unique_ptr<SignalSource> inner_;
    std::atomic<double>& fraction_;
    double share_;  // the part of the whole work that the reading is
    int64_t readSamples_ = 0;
};

}  // namespace lumen
