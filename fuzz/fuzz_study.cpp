// SPDX-License-Identifier: GPL-3.0-or-later
// The study report's numbers from whatever a recording's sections hold: beat
// words out of order or on one position, flags and ST levels of any value,
// fibrillation stretches outside the recording or reversed. The numbers may
// be nonsense; computing them must stay bounded and well defined.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "study/study_calculator.h"
#include "study/study_json.h"

namespace {

constexpr size_t kLargestBlockCount = 720;  // two hours: the spectra stay quick
constexpr size_t kBytesPerBlock = 3;
constexpr size_t kLargestFibrillationCount = 16;

uint32_t word32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (bytes.size() < 4) return 0;
    lumen::StudyInput input;
    const size_t blocks = std::min<size_t>(bytes[0] | bytes[1] << 8, kLargestBlockCount);
    const size_t fibrillation = std::min<size_t>(bytes[2], kLargestFibrillationCount);
    input.startTickOfDay = bytes[3] * 17000;
    size_t at = 4;
    for (size_t b = 0; b < blocks && at + kBytesPerBlock <= bytes.size(); ++b, at += kBytesPerBlock) {
        input.trendFlags.push_back(bytes[at]);
        input.stChannel1.push_back(static_cast<int8_t>(bytes[at + 1]));
        input.stChannel2.push_back(static_cast<int8_t>(bytes[at + 2]));
    }
    input.lengthTicks = static_cast<int32_t>(input.trendFlags.size()) * 500 - (blocks > 0 ? bytes[0] : 0);
    for (size_t f = 0; f < fibrillation && at + 8 <= bytes.size(); ++f, at += 8)
        input.fibrillationTicks.emplace_back(static_cast<int32_t>(word32(bytes, at) & 0xFFFFFF),
                                             static_cast<int32_t>(word32(bytes, at + 4) & 0xFFFFFF));
    for (; at + 4 <= bytes.size(); at += 4) input.words.push_back(lumen::BeatWord{word32(bytes, at)});
    const lumen::StudyFigures figures = lumen::StudyCalculator::compute(input);
    return lumen::StudyJson::text(figures).empty() ? 1 : 0;
}
