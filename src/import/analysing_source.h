#pragma once
#include "analysis/ecg_analyser.h"
#include "import/signal_source.h"

namespace lumen {

// Passes a source's samples on unchanged and lets the analysis see them on
// the way, at the source's own rate, while the signal is resampled.
class AnalysingSource : public SignalSource {
public:
    explicit AnalysingSource(SignalSource& inner)
        : inner_(inner), analyser_(inner.frequencyHz(), inner.channelCount()) {}

    double frequencyHz() const override { return inner_.frequencyHz(); }
    int64_t lengthSamples() const override { return inner_.lengthSamples(); }
    int channelCount() const override { return inner_.channelCount(); }
    std::string channelLabel(int channel) const override { return inner_.channelLabel(channel); }
    size_t read(std::span<float> out0, std::span<float> out1) override {
        const size_t n = inner_.read(out0, out1);
        analyser_.append(out0.first(n), inner_.channelCount() > 1 ? out1.first(n) : std::span<float>());
        return n;
    }
    AnalysisResult finish() { return analyser_.finish(); }

private:
    SignalSource& inner_;
    EcgAnalyser analyser_;
};

}  // namespace lumen
