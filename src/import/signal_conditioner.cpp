// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/signal_conditioner.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "analysis/ecg_filters.h"
#include "import/import_error.h"
#include "import/resampler.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr size_t kChunkFrames = 1 << 16;
// A stored last block is padded with up to one block of baseline: a flat
// stretch at the end counts as lead-off only when it lasts longer.
constexpr double kFlatTailMinimumSeconds = static_cast<double>(kSamplesPerBlock) / kTicksPerSecond;

// Runs of identical or missing samples of one channel, in source samples.
class FlatRunTracker {
public:
    FlatRunTracker(int64_t minimum, int64_t tailMinimum) : minimum_(minimum), tailMinimum_(tailMinimum) {}

    // Replaces a missing sample by the last good one (a flat line).
    void feed(float& sample, int64_t at) {
        if (std::isnan(sample)) sample = last_;
        if (sample == last_ && at > 0) return;
        close(at, minimum_);
        runStart_ = at;
        last_ = sample;
    }
    // A flat stretch that lasts to the end is lead-off when it is longer
    // than padding; one that covers the whole record is a dead channel.
    void finish(int64_t at) {
        dead_ = at > 0 && runStart_ == 0;
        if (!dead_) close(at, tailMinimum_);
    }
    bool dead() const { return dead_; }
    const std::vector<std::pair<int64_t, int64_t>>& runs() const { return runs_; }

private:
    void close(int64_t at, int64_t minimum) {
        if (at - runStart_ >= minimum) runs_.push_back({runStart_, at});
        runStart_ = at;
    }

    int64_t minimum_;
    int64_t tailMinimum_;
    int64_t runStart_ = 0;
    float last_ = 0.0f;
    bool dead_ = false;
    std::vector<std::pair<int64_t, int64_t>> runs_;
};

using FlatRuns = std::vector<FlatRunTracker>;

uint8_t quantise(float mv, double unitsPerMv) {
    const double v = std::floor(kBaselineSample + mv * unitsPerMv + 0.5);
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

unsigned checkedChannels(const SignalSource& source, const std::string& sourceName) {
    const auto channels = static_cast<unsigned>(source.channelCount());
    // The buffers below hold the two channels of a recording, no more.
    if (channels < 1 || channels > 2) {
        throw ImportError(sourceName, "has " + std::to_string(channels) +
                                          " channels to record; a recording takes one or two: name them with "
                                          "--channels");
    }
    return channels;
}

// Reads the whole source through the resampler; returns the source samples
// read per channel.
int64_t resampleAll(SignalSource& source, unsigned channels, const std::string& sourceName, StoredChannels& stored,
                    FlatRuns& flat) {
    const double fs = source.frequencyHz();
    const std::unique_ptr<Resampler> resampler = Resampler::make(fs, channels, sourceName);
    const auto expected = static_cast<size_t>(static_cast<double>(source.lengthSamples()) * kStoredRateHz / fs) + 16;
    for (auto& s : stored) s.reserve(expected);
    std::vector<float> in[2] = {std::vector<float>(kChunkFrames), std::vector<float>(kChunkFrames)};
    std::vector<float> interleaved(kChunkFrames * 2);
    int64_t at = 0;
    for (size_t n; (n = source.read(in[0], in[1])) > 0; at += static_cast<int64_t>(n)) {
        for (size_t i = 0; i < n; ++i)
            for (unsigned c = 0; c < channels; ++c) {
                flat[c].feed(in[c][i], at + static_cast<int64_t>(i));
                interleaved[i * channels + c] = in[c][i];
            }
        resampler->drain(interleaved.data(), n, stored);
    }
    resampler->drain(nullptr, 0, stored);
    return at;
}

// Cuts or extends the channels to `ticks`, filters them and fills the
// second from the first when the source has one.
void finishChannels(StoredChannels& stored, unsigned channels, size_t ticks, ConditionedSignal& out) {
    for (unsigned c = 0; c < channels; ++c) {
        stored[c].resize(ticks, stored[c].empty() ? 0.0f : stored[c].back());
        SignalConditioner::highPass(stored[c]);
    }
    if (channels == 1) {
        stored[1] = stored[0];
        out.duplicated = true;
    }
}

void quantiseInto(const StoredChannels& stored, size_t ticks, ConditionedSignal& out) {
    out.sourceTicks = static_cast<int32_t>(ticks);
    out.amplitudeCode = SignalConditioner::chooseAmplitudeCode(stored[0], stored[1]);
    out.unitsPerMv = kUnitsPerMillivoltOfCode[out.amplitudeCode];
    const size_t padded = (ticks + kSamplesPerBlock - 1) / kSamplesPerBlock * kSamplesPerBlock;
    out.channel1.assign(padded, kBaselineSample);
    out.channel2.assign(padded, kBaselineSample);
    for (size_t i = 0; i < ticks; ++i) {
        out.channel1[i] = quantise(stored[0][i], out.unitsPerMv);
        out.channel2[i] = quantise(stored[1][i], out.unitsPerMv);
    }
}

// Flat stretches become lead-off; a channel flat from end to end is named
// instead (its stretch would cover the record), and a source with no live
// channel is refused.
void markLeadOff(FlatRuns& flat, int64_t samples, double fs, const std::string& sourceName, ConditionedSignal& out) {
    for (size_t c = 0; c < flat.size(); ++c) {
        flat[c].finish(samples);
        if (flat[c].dead()) out.deadChannels.push_back(static_cast<int>(c));
        for (const auto& [from, to] : flat[c].runs())
            out.leadOff.push_back({static_cast<int32_t>(static_cast<double>(from) * kStoredRateHz / fs),
                                   static_cast<int32_t>(std::ceil(static_cast<double>(to) * kStoredRateHz / fs))});
    }
    std::sort(out.leadOff.begin(), out.leadOff.end(), [](auto& a, auto& b) { return a.start < b.start; });
    if (out.deadChannels.size() == flat.size()) {
        throw ImportError(sourceName,
                          "no channel carries a signal: every sample of the record is the same value or "
                          "at the converter's limit. Check that this is the recording meant, or name "
                          "other channels with --channels.");
    }
}

}  // namespace

ConditionedSignal SignalConditioner::run(SignalSource& source, const std::string& sourceName) {
    const double fs = source.frequencyHz();
    const unsigned channels = checkedChannels(source, sourceName);
    const auto minimumRun = static_cast<int64_t>(std::ceil(kLeadOffMinimumSeconds * fs));
    const auto tailRun = static_cast<int64_t>(std::ceil(kFlatTailMinimumSeconds * fs));
    FlatRuns flat(channels, FlatRunTracker(minimumRun, tailRun));
    StoredChannels stored;
    const int64_t samples = resampleAll(source, channels, sourceName, stored, flat);
    ConditionedSignal out;
    const auto ticks = static_cast<size_t>(std::llround(static_cast<double>(samples) * kStoredRateHz / fs));
    finishChannels(stored, channels, ticks, out);
    quantiseInto(stored, ticks, out);
    markLeadOff(flat, samples, fs, sourceName, out);
    return out;
}

uint8_t SignalConditioner::chooseAmplitudeCode(const std::vector<float>& a, const std::vector<float>& b) {
    const size_t total = a.size() + b.size();
    for (int code = 3; code > 0; --code) {
        const double limit = kLargestSampleExcursion / kUnitsPerMillivoltOfCode[code];
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
    EcgFilters::zeroPhase(x, Biquad::butterworthHighPass(kHighPassHz, kStoredRateHz));
}

}  // namespace lumen
