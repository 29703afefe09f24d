// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a 24-hour two-channel 360 Hz WFDB record with our own writer, for
// the import benchmark: MIT-BIH record 100 laid end to end, its reference
// annotations with it.
//   lumen_long_record SOURCE_RECORD OUT_DIR
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_header.h"
#include "import/wfdb/wfdb_signal_reader.h"
#include "import/wfdb/wfdb_writer.h"

namespace {

constexpr int64_t kDaySamples = 24LL * 3600 * 360;
constexpr double kGain = 200.0;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumen;
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumen_long_record SOURCE_RECORD OUT_DIR\n");
        return 2;
    }
    try {
        const std::filesystem::path source = argv[1];
        const WfdbHeader header = WfdbHeader::parse(readText(source.string() + ".hea"), source.string() + ".hea");
        const std::string atr = readText(source.string() + ".atr");
        const auto annotations = WfdbAnnotations::parse(
            std::span(reinterpret_cast<const uint8_t*>(atr.data()), atr.size()), source.string() + ".atr");
        WfdbWriter writer(argv[2], "long24", header.samplingFrequency, {{"MLII", kGain, 0}, {"V5", kGain, 0}});
        std::vector<WfdbAnnotation> out;
        std::vector<int16_t> samples[2];
        std::vector<float> a(1 << 16), b(1 << 16);
        for (int64_t written = 0; written < kDaySamples;) {
            const int64_t tileStart = written;
            WfdbSignalReader reader(header, source.parent_path(), {0, 1});
            for (size_t n; written < kDaySamples && (n = reader.read(a, b)) > 0;) {
                n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n), kDaySamples - written));
                for (int c = 0; c < 2; ++c) samples[c].resize(n);
                for (size_t i = 0; i < n; ++i) {
                    samples[0][i] = static_cast<int16_t>(std::lround(std::isnan(a[i]) ? 0 : a[i] * kGain));
                    samples[1][i] = static_cast<int16_t>(std::lround(std::isnan(b[i]) ? 0 : b[i] * kGain));
                }
                if (!writer.append(samples, n)) throw ImportError(argv[2], "cannot write");
                written += static_cast<int64_t>(n);
            }
            for (WfdbAnnotation an : annotations) {
                an.sample += tileStart;
                if (an.sample < kDaySamples) out.push_back(an);
            }
        }
        if (!writer.finish(out, {" MIT-BIH 100 laid end to end for 24 hours"})) throw ImportError(argv[2], "cannot write");
        std::printf("%s/long24: %lld samples, %zu annotations\n", argv[2], static_cast<long long>(kDaySamples), out.size());
        return 0;
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 255;
    }
}
