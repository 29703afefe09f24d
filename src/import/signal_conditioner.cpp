#include "import/signal_conditioner.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "import/import_error.h"
#include "import/resampler.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr size_t kChunkFrames = 1 << 16;

// Runs of identical or missing samples of each channel, in source samples.
class FlatRunTracker {
public:
    explicit FlatRunTracker(int64_t minimum) : minimum_(minimum) {}

    // Replaces a missing sample by the last good one (a flat line).
    void feed(float& sample, int64_t at) {
        if (std::isnan(sample)) sample = last_;
        if (sample == last_ && at > 0) return;
        close(at);
        runStart_ = at;
        last_ = sample;
    }
    void close(int64_t at) {
        if (at - runStart_ >= minimum_) runs_.push_back({runStart_, at});
        runStart_ = at;
    }
    // A flat stretch that lasts to the end is where the recorder stopped
    // (or the padding of a stored last block), not a lead-off.
    void finish(int64_t at) { runStart_ = at; }
    std::vector<std::pair<int64_t, int64_t>>& runs() { return runs_; }

private:
    int64_t minimum_;
    int64_t runStart_ = 0;
    float last_ = 0.0f;
    std::vector<std::pair<int64_t, int64_t>> runs_;
};

uint8_t quantise(float mv, double unitsPerMv) {
    const double v = std::floor(kBaselineSample + mv * unitsPerMv + 0.5);
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

}  // namespace

ConditionedSignal SignalConditioner::run(SignalSource& source, const std::string& sourceName) {
    const double fs = source.frequencyHz();
    const auto channels = static_cast<unsigned>(source.channelCount());
    // The buffers below hold the two channels of a recording, no more.
    if (channels < 1 || channels > 2) {
        throw ImportError(sourceName,
                          "has " + std::to_string(channels) + " channels to record; a recording takes one or two");
    }
    const std::unique_ptr<Resampler> resampler = Resampler::make(fs, channels, sourceName);
    std::vector<float> stored[2];
    const auto expected = static_cast<size_t>(static_cast<double>(source.lengthSamples()) * kStoredRateHz / fs) + 16;
    for (auto& s : stored) s.reserve(expected);
    std::vector<float> in0(kChunkFrames), in1(kChunkFrames), interleaved(kChunkFrames * 2);
    const auto minimumRun = static_cast<int64_t>(std::ceil(kLeadOffMinimumSeconds * fs));
    FlatRunTracker flat[2] = {FlatRunTracker(minimumRun), FlatRunTracker(minimumRun)};
    int64_t at = 0;
    for (size_t n; (n = source.read(in0, in1)) > 0; at += static_cast<int64_t>(n)) {
        for (size_t i = 0; i < n; ++i) {
            flat[0].feed(in0[i], at + static_cast<int64_t>(i));
            interleaved[i * channels] = in0[i];
            if (channels == 2) {
                flat[1].feed(in1[i], at + static_cast<int64_t>(i));
                interleaved[i * 2 + 1] = in1[i];
            }
        }
        resampler->drain(interleaved.data(), n, stored);
    }
    resampler->drain(nullptr, 0, stored);

    ConditionedSignal out;
    const auto ticks = static_cast<size_t>(std::llround(static_cast<double>(at) * kStoredRateHz / fs));
    for (unsigned c = 0; c < channels; ++c) {
        stored[c].resize(ticks, stored[c].empty() ? 0.0f : stored[c].back());
        highPass(stored[c]);
    }
    if (channels == 1) {
        stored[1] = stored[0];
        out.duplicated = true;
    }
    out.sourceTicks = static_cast<int32_t>(ticks);
    out.amplitudeCode = chooseAmplitudeCode(stored[0], stored[1]);
    out.unitsPerMv = kUnitsPerMillivoltOfCode[out.amplitudeCode];
    const size_t padded = (ticks + kSamplesPerBlock - 1) / kSamplesPerBlock * kSamplesPerBlock;
    out.channel1.assign(padded, 128);
    out.channel2.assign(padded, 128);
    for (size_t i = 0; i < ticks; ++i) {
        out.channel1[i] = quantise(stored[0][i], out.unitsPerMv);
        out.channel2[i] = quantise(stored[1][i], out.unitsPerMv);
    }
    for (unsigned c = 0; c < channels; ++c) {
        flat[c].finish(at);
        for (const auto& [from, to] : flat[c].runs())
            out.leadOff.push_back({static_cast<int32_t>(static_cast<double>(from) * kStoredRateHz / fs),
                                   static_cast<int32_t>(std::ceil(static_cast<double>(to) * kStoredRateHz / fs))});
    }
    std::sort(out.leadOff.begin(), out.leadOff.end(), [](auto& a, auto& b) { return a.start < b.start; });
    return out;
}

uint8_t SignalConditioner::chooseAmplitudeCode(const std::vector<float>& a, const std::vector<float>& b) {
    const size_t total = a.size() + b.size();
    for (int code = 3; code > 0; --code) {
        const double limit = 127.0 / kUnitsPerMillivoltOfCode[code];
        size_t clipped = 0;
        for (float v : a) clipped += std::fabs(v) > limit;
        for (float v : b) clipped += std::fabs(v) > limit;
        if (static_cast<double>(clipped) <= (1.0 - kUnclippedFraction) * static_cast<double>(total))
            return static_cast<uint8_t>(code);
    }
    return 0;
}

// A second-order Butterworth high-pass run forwards and backwards: no phase
// shift, so ST segments keep their level against the PR segment.
void SignalConditioner::highPass(std::vector<float>& x) {
    if (x.empty()) return;
    const double k = std::tan(std::numbers::pi * kHighPassHz / kStoredRateHz);
    const double norm = 1.0 / (1.0 + std::sqrt(2.0) * k + k * k);
    const double b0 = norm, b1 = -2.0 * norm, b2 = norm;
    const double a1 = 2.0 * (k * k - 1.0) * norm, a2 = (1.0 - std::sqrt(2.0) * k + k * k) * norm;
    auto pass = [&](auto begin, auto end) {
        const double start = *begin;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (auto it = begin; it != end; ++it) {
            const double v = *it - start;
            const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = y;
            *it = static_cast<float>(y);
        }
    };
    pass(x.begin(), x.end());
    pass(x.rbegin(), x.rend());
}

}  // namespace lumen
