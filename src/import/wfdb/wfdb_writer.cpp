// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_writer.h"

#include <cstdio>
#include <fstream>

#include "import/wfdb/wfdb_header.h"
#include "platform/file/utf8_path.h"

namespace lumen {

WfdbWriter::WfdbWriter(std::filesystem::path directory, std::string record, double frequencyHz,
                       std::vector<WfdbWriteSignal> signals)
    : directory_(std::move(directory)),
      record_(std::move(record)),
      frequencyHz_(frequencyHz),
      signals_(std::move(signals)) {
    data_ = openFile(utf8FromPath(directory_ / pathFromUtf8(record_ + ".dat")), "wb");
    ok_ = data_ != nullptr;
}

bool WfdbWriter::append(std::span<const std::vector<int16_t>> samples, size_t frames) {
    if (!ok_) return false;
    buffer_.resize(frames * signals_.size() * 2);
    uint8_t* out = buffer_.data();
    for (size_t i = 0; i < frames; ++i) {
        for (size_t c = 0; c < signals_.size(); ++c) {
            const auto v = static_cast<uint16_t>(samples[c][i]);
            *out++ = static_cast<uint8_t>(v);
            *out++ = static_cast<uint8_t>(v >> 8);
        }
    }
    ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), data_) == buffer_.size();
    frames_ += static_cast<int64_t>(frames);
    return ok_;
}

bool WfdbWriter::finish(std::span<const WfdbAnnotation> annotations, const std::vector<std::string>& comments) {
    if (data_ != nullptr) ok_ = std::fclose(data_) == 0 && ok_;
    data_ = nullptr;
    WfdbHeader h;
    h.recordName = record_;
    h.samplingFrequency = frequencyHz_;
    h.samplesPerSignal = frames_;
    h.startSecondOfDay = startSecondOfDay_;
    h.startDate = startDate_;
    h.comments = comments;
    for (const WfdbWriteSignal& s : signals_) {
        WfdbSignalSpec described;
        described.fileName = record_ + ".dat";
        described.format = 16;
        described.gainPerMv = s.gainPerMv;
        described.baseline = s.baseline;
        described.adcResolution = 16;
        described.adcZero = 0;
        described.description = s.description;
        h.signals.push_back(described);
    }
    std::ofstream header(directory_ / pathFromUtf8(record_ + ".hea"), std::ios::trunc);
    header << h.format();
    header.close();
    ok_ = ok_ && static_cast<bool>(header);
    if (annotations.empty()) return ok_;
    const std::vector<uint8_t> atr = WfdbAnnotations::format(annotations);
    std::ofstream out(directory_ / pathFromUtf8(record_ + ".atr"), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(atr.data()), static_cast<std::streamsize>(atr.size()));
    out.close();
    return ok_ && static_cast<bool>(out);
}

}  // namespace lumen
