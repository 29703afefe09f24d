// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/wfdb_fixture.h"

#include <cmath>
#include <fstream>
#include <vector>

namespace lumen::testing {

std::string writeBeatingRecord(const std::filesystem::path& folder, const std::string& record, int seconds) {
    constexpr int kRateHz = 250;
    constexpr int kBeatSamples = 200;  // 0.8 s
    const int samples = seconds * kRateHz;
    std::ofstream header(folder / (record + ".hea"));
    header << record << " 2 " << kRateHz << " " << samples << "\n"
           << record << ".dat 16 200 16 0 0 0 0 MLII\n"
           << record << ".dat 16 200 16 0 0 0 0 V5\n";
    std::vector<char> bytes;
    for (int n = 0; n < samples; ++n) {
        const int fromPeak = n % kBeatSamples - kBeatSamples / 2;
        const double mv =
            std::exp(-fromPeak * fromPeak / 18.0) - 0.1 * std::exp(-(fromPeak - 8) * (fromPeak - 8) / 30.0);
        for (const double lead : {mv, 0.6 * mv}) {
            const auto units = static_cast<int16_t>(std::lround(200.0 * lead));
            bytes.push_back(static_cast<char>(units & 0xFF));
            bytes.push_back(static_cast<char>((units >> 8) & 0xFF));
        }
    }
    std::ofstream(folder / (record + ".dat"), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return (folder / (record + ".hea")).string();
}

}  // namespace lumen::testing
