// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/ishne/ishne_record.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "import/channel_chooser.h"
#include "import/import_error.h"
#include "import/ishne/ishne_header.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr int16_t kAbsentSample = -32768;
constexpr uintmax_t kMaxAnnotationBytes = 64u << 20;

std::vector<uint8_t> readBytes(const std::string& path, uintmax_t limit) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw ImportError(path, "cannot open");
    std::vector<uint8_t> bytes;
    char chunk[1 << 14];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > limit) break;
    }
    return bytes;
}

class IshneSignal : public SignalSource {
public:
    IshneSignal(const std::string& path, const IshneHeader& h, std::vector<int> leads)
        : header_(h), leads_(std::move(leads)), path_(path), stream_(openFile(path, "rb")) {
        if (stream_ == nullptr || std::fseek(stream_, static_cast<long>(h.dataOffset), SEEK_SET) != 0)
            throw ImportError(path, "cannot read the ECG block");
    }
    ~IshneSignal() override {
        if (stream_ != nullptr) std::fclose(stream_);
    }
    double frequencyHz() const override { return header_.samplingRate; }
    int64_t lengthSamples() const override { return header_.samplesPerLead; }
    int channelCount() const override { return static_cast<int>(leads_.size()); }
    std::string channelLabel(int c) const override {
        return IshneHeader::leadName(header_.leadSpec[static_cast<size_t>(leads_[static_cast<size_t>(c)])]);
    }
    size_t read(std::span<float> out0, std::span<float> out1) override {
        const auto n = static_cast<size_t>(
            std::min<int64_t>(std::min<int64_t>(out0.size(), 1 << 16), header_.samplesPerLead - position_));
        if (n == 0) return 0;
        const auto stride = static_cast<size_t>(header_.leads);
        buffer_.resize(n * stride * 2);
        if (std::fread(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
            throw ImportError(path_, "the ECG block ended early");
        for (size_t c = 0; c < leads_.size(); ++c) {
            std::span<float> out = c == 0 ? out0 : out1;
            const auto lead = static_cast<size_t>(leads_[c]);
            const double mvPerUnit = header_.resolutionNv[lead] * 1e-6;
            for (size_t i = 0; i < n; ++i) {
                const size_t at = (i * stride + lead) * 2;
                const auto v = static_cast<int16_t>(buffer_[at] | (buffer_[at + 1] << 8));
                out[i] =
                    v == kAbsentSample ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(v * mvPerUnit);
            }
        }
        position_ += static_cast<int64_t>(n);
        return n;
    }

private:
    IshneHeader header_;
    std::vector<int> leads_;
    std::string path_;
    std::FILE* stream_;
    std::vector<uint8_t> buffer_;
    int64_t position_ = 0;
};

std::vector<int> chooseLeads(const IshneHeader& h, const std::vector<std::string>& names, const std::string& path) {
    std::vector<std::string> labels;
    for (int k = 0; k < h.leads; ++k) labels.push_back(IshneHeader::leadName(h.leadSpec[static_cast<size_t>(k)]));
    return ChannelChooser::choose(labels, names, path, "lead", ChannelChooser::Fallback::FirstTwo);
}

void readAnnotations(const std::string& path, const IshneHeader& h, SourceRecording& out) {
    const double perQuarterTick = kQuarterTicksPerSecond / h.samplingRate;
    for (const IshneAnnotation& a : parseIshneAnnotations(readBytes(path, kMaxAnnotationBytes), path)) {
        if (a.sample >= h.samplesPerLead)
            throw ImportError(path, "annotation at sample " + std::to_string(a.sample) +
                                        " lies past the end of the ECG (" + std::to_string(h.samplesPerLead) +
                                        " samples)");
        if (const auto label = BeatLabels::lookup(std::string(1, a.label)))
            out.beats.push_back({std::llround(static_cast<double>(a.sample) * perQuarterTick), *label});
        else
            ++out.unknownLabels;
    }
    out.hasBeatAnnotations = true;
}

}  // namespace

SourceRecording IshneRecord::open(const std::string& path, const std::vector<std::string>& channels,
                                  const std::string& annotations) {
    std::vector<uint8_t> start = readBytes(path, kIshneFixedHeaderEnd);
    const size_t headerSize = IshneHeader::headerBytes(start);
    if (headerSize > start.size()) start = readBytes(path, headerSize);
    IshneHeader h = IshneHeader::parse(start, path, "ISHNE1.0");
    if (h.leads < 1 || h.leads > kIshneMaxLeads)
        throw ImportError(path, "the header gives " + std::to_string(h.leads) + " leads (1 to 12)");
    if (h.samplingRate <= 0) throw ImportError(path, "the header gives no sampling rate");
    if (h.samplesPerLead <= 0) throw ImportError(path, "the header gives no samples");
    for (int k = 0; k < h.leads; ++k)
        if (h.resolutionNv[static_cast<size_t>(k)] <= 0)
            throw ImportError(path, "lead " + std::to_string(k + 1) + " has no resolution");
    std::error_code error;
    const auto size = static_cast<int64_t>(std::filesystem::file_size(pathFromUtf8(path), error));
    const int64_t held = (size - h.dataOffset) / (2 * h.leads);
    if (error || held <= 0)
        throw ImportError(path, "truncated: the header announces " + std::to_string(h.samplesPerLead) +
                                    " samples per lead, the file holds none");
    SourceRecording out;
    if (!h.crcMatches) {
        out.warnings.push_back(path +
                               ": the header's CRC does not match its bytes (many writers leave it unset); "
                               "its fields were read as they stand.");
    }
    if (held < h.samplesPerLead) {
        out.warnings.push_back(path + ": the header announces " + std::to_string(h.samplesPerLead) +
                               " samples per lead, the file holds " + std::to_string(held) + "; those " +
                               std::to_string(held) + " were read.");
        h.samplesPerLead = held;
    }
    out.format = "ISHNE";
    out.name = utf8FromPath(pathFromUtf8(path).stem());
    out.fileName = path;
    out.signal = std::make_unique<IshneSignal>(path, h, chooseLeads(h, channels, path));
    if (h.startTime[0] >= 0 && h.startTime[0] < 24 && h.startTime[1] >= 0 && h.startTime[1] < 60 &&
        h.startTime[2] >= 0 && h.startTime[2] < 60)
        out.startSecondOfDay = h.startTime[0] * 3600 + h.startTime[1] * 60 + h.startTime[2];
    out.startDate = CalendarDate::of(h.recordDate[2], h.recordDate[1], h.recordDate[0]);
    out.patient = h.lastName + (h.firstName.empty() ? "" : ", " + h.firstName) + (h.id.empty() ? "" : " " + h.id);
    const std::string ann =
        annotations.empty() ? utf8FromPath(pathFromUtf8(path).replace_extension(".ann")) : annotations;
    if (!annotations.empty() || std::filesystem::exists(pathFromUtf8(ann))) readAnnotations(ann, h, out);
    return out;
}

}  // namespace lumen
