// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lumen {

// The ECG of a source recording, read front to back in millivolts. A sample
// the recorder marked invalid or that sits at the converter's limit reads as
// NaN: the electrodes were off or the amplifier saturated.
class SignalSource {
public:
    virtual ~SignalSource() = default;
    virtual double frequencyHz() const = 0;
    virtual int64_t lengthSamples() const = 0;
    virtual int channelCount() const = 0;  // 1 or 2
    virtual std::string channelLabel(int channel) const = 0;
    // Fills up to out0.size() samples of each channel (out1 is ignored with
    // one channel); returns how many, 0 at the end.
    virtual size_t read(std::span<float> out0, std::span<float> out1) = 0;
};

}  // namespace lumen
