// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "import/signal_source.h"

namespace lumen {

// The signal of a record whose signal files are absent: its rate and
// length only; it reads nothing.
class BeatOnlySource : public SignalSource {
public:
    BeatOnlySource(double frequencyHz, int64_t lengthSamples) : frequencyHz_(frequencyHz), length_(lengthSamples) {}

    double frequencyHz() const override { return frequencyHz_; }
    int64_t lengthSamples() const override { return length_; }
    int channelCount() const override { return 2; }
    std::string channelLabel(int) const override { return "no signal"; }
    size_t read(std::span<float>, std::span<float>) override { return 0; }

private:
    double frequencyHz_;
    int64_t length_;
};

}  // namespace lumen
