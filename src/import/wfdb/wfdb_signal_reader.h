// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "import/signal_source.h"
#include "import/wfdb/wfdb_header.h"

namespace lumen {

// Reads up to two signals of a WFDB record from its signal files, in
// formats 16, 24, 32, 61, 80 and 212; signals of one file are interleaved
// frame by frame. A signal with a skew of k reads its sample i from frame
// i + k, as the WFDB library does.
class WfdbSignalReader : public SignalSource {
public:
    // `channels` are signal numbers of the header; throws ImportError when
    // a file is missing or shorter than the header says.
    WfdbSignalReader(const WfdbHeader& header, const std::filesystem::path& directory, std::vector<int> channels);
    ~WfdbSignalReader() override;

    double frequencyHz() const override { return header_.samplingFrequency; }
    int64_t lengthSamples() const override { return length_; }
    int channelCount() const override { return static_cast<int>(channels_.size()); }
    std::string channelLabel(int channel) const override;
    size_t read(std::span<float> out0, std::span<float> out1) override;

private:
    struct SignalFile {
        std::string name;  // as the header names it
        std::string path;
        std::FILE* stream = nullptr;
        int format = 0;
        int signalsPerFrame = 0;
        int64_t samplesAvailable = 0;  // per signal
        std::vector<uint8_t> buffer;
        std::vector<int32_t> frame;  // decoded samples from the current position, interleaved
        size_t held = 0;             // frames decoded in `frame`
        int64_t framesRead = 0;
        int skew = 0;  // the largest skew of its signals: frames read ahead
    };

    void openFile(const std::string& name, const std::filesystem::path& directory, const std::string& headerName);
    void decodeChunk(SignalFile& file, size_t frames);
    void release(SignalFile& file, size_t frames);

    WfdbHeader header_;
    std::vector<int> channels_;
    std::vector<SignalFile> files_;
    std::vector<int> channelFile_;    // which file holds each chosen channel
    std::vector<int> channelColumn_;  // its place in that file's frame
    int64_t length_ = 0;
    int64_t position_ = 0;
};

}  // namespace lumen
