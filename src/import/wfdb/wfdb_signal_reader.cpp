// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_signal_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "import/import_error.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr size_t kChunkFrames = 1 << 16;  // even: format 212 pairs never split

int64_t bytesForSamples(int format, int64_t samples) {
    switch (format) {
    case 80: return samples;
    case 212: return (samples * 3 + 1) / 2;
    case 24: return samples * 3;
    case 32: return samples * 4;
    default: return samples * 2;
    }
}

int64_t samplesInBytes(int format, int64_t bytes) {
    switch (format) {
    case 80: return bytes;
    case 212: return bytes * 2 / 3;
    case 24: return bytes / 3;
    case 32: return bytes / 4;
    default: return bytes / 2;
    }
}

// The value the format reserves for "no sample".
int32_t invalidSample(int format) {
    switch (format) {
    case 80: return -128;
    case 212: return -2048;
    case 24: return -8388608;
    case 32: return std::numeric_limits<int32_t>::min();
    default: return -32768;
    }
}

void decode(int format, const uint8_t* in, size_t samples, int32_t* out) {
    switch (format) {
    case 80:
        for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int32_t>(in[i]) - 128;
        break;
    case 16:
        for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>(in[2 * i] | (in[2 * i + 1] << 8));
        break;
    case 61:
        for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>((in[2 * i] << 8) | in[2 * i + 1]);
        break;
    case 24:
        for (size_t i = 0; i < samples; ++i) {
            const uint32_t v = in[3 * i] | (in[3 * i + 1] << 8) | (uint32_t{in[3 * i + 2]} << 16);
            out[i] = static_cast<int32_t>(v << 8) >> 8;
        }
        break;
    case 32:
        for (size_t i = 0; i < samples; ++i)
            out[i] = static_cast<int32_t>(in[4 * i] | (in[4 * i + 1] << 8) | (in[4 * i + 2] << 16) |
                                          (uint32_t{in[4 * i + 3]} << 24));
        break;
    case 212:
        for (size_t i = 0; i < samples; ++i) {
            const uint8_t* p = in + (i / 2) * 3;
            const int32_t v = (i % 2 == 0) ? p[0] | ((p[1] & 0x0F) << 8) : p[2] | ((p[1] & 0xF0) << 4);
            out[i] = v >= 2048 ? v - 4096 : v;
        }
        break;
    default: break;
    }
}

}  // namespace

WfdbSignalReader::WfdbSignalReader(const WfdbHeader& header, const std::filesystem::path& directory,
                                   std::vector<int> channels)
    : header_(header), channels_(std::move(channels)) {
    const std::string headerName = utf8FromPath(directory / pathFromUtf8(header.recordName + ".hea"));
    for (int c : channels_) {
        if (c < 0 || c >= static_cast<int>(header_.signals.size()))
            throw ImportError(headerName, "there is no signal " + std::to_string(c + 1));
        const std::string& name = header_.signals[static_cast<size_t>(c)].fileName;
        int fileIndex = -1;
        for (size_t f = 0; f < files_.size(); ++f)
            if (files_[f].name == name) fileIndex = static_cast<int>(f);
        if (fileIndex < 0) {
            openFile(name, directory, headerName);
            fileIndex = static_cast<int>(files_.size()) - 1;
        }
        int column = 0;
        for (int s = 0; s < c; ++s) column += header_.signals[static_cast<size_t>(s)].fileName == name;
        channelFile_.push_back(fileIndex);
        channelColumn_.push_back(column);
    }
    int64_t available = std::numeric_limits<int64_t>::max();
    for (const SignalFile& f : files_) available = std::min(available, f.samplesAvailable);
    length_ = header_.samplesPerSignal.value_or(available);
    if (length_ > available) {
        const SignalFile& shortest = *std::min_element(files_.begin(), files_.end(), [](const auto& a, const auto& b) {
            return a.samplesAvailable < b.samplesAvailable;
        });
        throw ImportError(utf8FromPath(directory / pathFromUtf8(shortest.name)),
                          "truncated: the header announces " + std::to_string(length_) +
                              " samples per signal, the file holds " + std::to_string(shortest.samplesAvailable));
    }
    if (length_ == 0) throw ImportError(headerName, "the record holds no samples");
}

WfdbSignalReader::~WfdbSignalReader() {
    for (SignalFile& f : files_)
        if (f.stream != nullptr) std::fclose(f.stream);
}

void WfdbSignalReader::openFile(const std::string& name, const std::filesystem::path& directory,
                                const std::string& headerName) {
    SignalFile f;
    f.name = name;
    int64_t offset = 0;
    for (const WfdbSignalSpec& s : header_.signals) {
        if (s.fileName != name) continue;
        if (f.signalsPerFrame > 0 && (s.format != f.format || s.byteOffset != offset))
            throw ImportError(headerName, "the signals of " + name + " disagree about its format or byte offset");
        f.format = s.format;
        offset = s.byteOffset;
        f.skew = std::max(f.skew, s.skew);
        ++f.signalsPerFrame;
    }
    const std::filesystem::path path = directory / pathFromUtf8(name);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw ImportError(utf8FromPath(path), "cannot read the signal file: " + error.message());
    f.path = utf8FromPath(path);
    f.stream = lumen::openFile(f.path, "rb");
    if (f.stream == nullptr || std::fseek(f.stream, static_cast<long>(offset), SEEK_SET) != 0) {
        if (f.stream != nullptr) std::fclose(f.stream);
        throw ImportError(utf8FromPath(path), "cannot open the signal file");
    }
    const int64_t dataBytes = static_cast<int64_t>(size) > offset ? static_cast<int64_t>(size) - offset : 0;
    f.samplesAvailable = samplesInBytes(f.format, dataBytes) / f.signalsPerFrame;
    files_.push_back(std::move(f));
}

// Decodes frames after those still held until `frames` plus the file's
// skew are held, or the file ends.
void WfdbSignalReader::decodeChunk(SignalFile& file, size_t frames) {
    const auto perFrame = static_cast<size_t>(file.signalsPerFrame);
    const int64_t left = file.samplesAvailable - file.framesRead;
    auto wanted = static_cast<int64_t>(frames + static_cast<size_t>(file.skew) - file.held);
    // Format 212 packs two samples in three bytes: a pair never splits.
    if (file.format == 212 && perFrame % 2 == 1 && wanted % 2 == 1) ++wanted;
    const auto more = static_cast<size_t>(std::clamp<int64_t>(wanted, 0, left));
    const size_t samples = more * perFrame;
    const auto bytes = static_cast<size_t>(bytesForSamples(file.format, static_cast<int64_t>(samples)));
    file.buffer.resize(bytes + 3);
    file.frame.resize((file.held + more) * perFrame);
    const size_t got = std::fread(file.buffer.data(), 1, bytes, file.stream);
    if (got < bytes) throw ImportError(file.path, "the signal file ended early (read error or truncated)");
    decode(file.format, file.buffer.data(), samples, file.frame.data() + file.held * perFrame);
    file.held += more;
    file.framesRead += static_cast<int64_t>(more);
}

void WfdbSignalReader::release(SignalFile& file, size_t frames) {
    const size_t used = std::min(frames, file.held);
    file.frame.erase(file.frame.begin(), file.frame.begin() + static_cast<long>(used * file.signalsPerFrame));
    file.held -= used;
}

std::string WfdbSignalReader::channelLabel(int channel) const {
    const WfdbSignalSpec& s = header_.signals[static_cast<size_t>(channels_[static_cast<size_t>(channel)])];
    return s.description.empty() ? "signal " + std::to_string(channels_[static_cast<size_t>(channel)] + 1)
                                 : s.description;
}

size_t WfdbSignalReader::read(std::span<float> out0, std::span<float> out1) {
    const auto frames = static_cast<size_t>(std::min<int64_t>(
        {static_cast<int64_t>(out0.size()), length_ - position_, static_cast<int64_t>(kChunkFrames)}));
    if (frames == 0) return 0;
    for (SignalFile& f : files_) decodeChunk(f, frames);
    for (size_t c = 0; c < channels_.size(); ++c) {
        const WfdbSignalSpec& signal = header_.signals[static_cast<size_t>(channels_[c])];
        const SignalFile& f = files_[static_cast<size_t>(channelFile_[c])];
        const int32_t invalid = invalidSample(signal.format);
        const double half = std::ldexp(1.0, std::clamp(signal.adcResolution, 2, 32) - 1);
        const double low = signal.adcZero - half;
        const double high = signal.adcZero + half - 1;
        const double scale = 1.0 / signal.gainPerMv;
        std::span<float> out = c == 0 ? out0 : out1;
        const auto stride = static_cast<size_t>(f.signalsPerFrame);
        const auto column = static_cast<size_t>(channelColumn_[c]);
        const auto skew = static_cast<size_t>(signal.skew);
        for (size_t i = 0; i < frames; ++i) {
            // A skewed signal's last samples lie past the end of its file.
            const int32_t v = i + skew < f.held ? f.frame[(i + skew) * stride + column] : invalid;
            out[i] = (v == invalid || v <= low || v >= high) ? std::numeric_limits<float>::quiet_NaN()
                                                             : static_cast<float>((v - signal.baseline) * scale);
        }
    }
    for (SignalFile& f : files_) release(f, frames);
    position_ += static_cast<int64_t>(frames);
    return frames;
}

}  // namespace lumen
