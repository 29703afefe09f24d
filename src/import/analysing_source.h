// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/ecg_analyser.h"
#include "import/signal_source.h"

namespace lumen {

// Passes a source's samples on unchanged and lets the analysis see them on
// the way, at the source's own rate, while the signal is resampled. The
// analysis runs on a thread of its own, fed the same chunks in the same
// order, so a day of ECG is analysed and resampled at once on two cores
// with the same result as one after the other.
class AnalysingSource : public SignalSource {
public:
    // `pacemaker`: the source says the rhythm is paced.
    AnalysingSource(SignalSource& inner, bool pacemaker);
    ~AnalysingSource() override;
    AnalysingSource(const AnalysingSource&) = delete;
    AnalysingSource& operator=(const AnalysingSource&) = delete;

    double frequencyHz() const override { return inner_.frequencyHz(); }
    int64_t lengthSamples() const override { return inner_.lengthSamples(); }
    int channelCount() const override { return inner_.channelCount(); }
    std::string channelLabel(int channel) const override { return inner_.channelLabel(channel); }
    size_t read(std::span<float> out0, std::span<float> out1) override;
    // Waits for the analysis of everything read; rethrows what it threw.
    AnalysisResult finish();

private:
    struct Chunk {
        std::vector<float> channel0;
        std::vector<float> channel1;
    };
    // Chunks read but not yet analysed, at most: bounds the memory held.
    static constexpr size_t kMaxWaitingChunks = 8;

    void analyse();
    void stop();

    SignalSource& inner_;
    EcgAnalyser analyser_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> waiting_;
    bool ended_ = false;
    std::exception_ptr failure_;
    std::thread worker_;
};

}  // namespace lumen
