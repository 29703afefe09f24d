// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/analysing_source.h"

namespace lumen {

AnalysingSource::AnalysingSource(SignalSource& inner, bool pacemaker)
    : inner_(inner), analyser_(inner.frequencyHz(), inner.channelCount(), pacemaker), worker_([this] { analyse(); }) {}

AnalysingSource::~AnalysingSource() { stop(); }

size_t AnalysingSource::read(std::span<float> out0, std::span<float> out1) {
    const size_t n = inner_.read(out0, out1);
    if (n == 0) return 0;
    Chunk chunk{{out0.begin(), out0.begin() + static_cast<std::ptrdiff_t>(n)}, {}};
    if (inner_.channelCount() > 1) chunk.channel1.assign(out1.begin(), out1.begin() + static_cast<std::ptrdiff_t>(n));
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMaxWaitingChunks || failure_; });
    waiting_.push_back(std::move(chunk));
    changed_.notify_all();
    return n;
}

void AnalysingSource::analyse() {
    for (;;) {
        Chunk chunk;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !waiting_.empty() || ended_; });
            if (waiting_.empty()) return;
            chunk = std::move(waiting_.front());
            waiting_.pop_front();
            changed_.notify_all();
        }
        try {
            analyser_.append(chunk.channel0, chunk.channel1);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            waiting_.clear();
            changed_.notify_all();
            return;
        }
    }
}

void AnalysingSource::stop() {
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }
    if (worker_.joinable()) worker_.join();
}

AnalysisResult AnalysingSource::finish() {
    stop();
    if (failure_) std::rethrow_exception(failure_);
    return analyser_.finish();
}

}  // namespace lumen
