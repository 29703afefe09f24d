// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_forms.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "store/fatal_error.h"
#include "store/plain_file.h"

namespace lumen {
namespace {

constexpr size_t kCountOffset = 1242;
constexpr size_t kTemplatesOffset = 1442;
constexpr size_t kTemplateBytes = 2 * kFormSamples;

int32_t roundedMean(std::span<const uint8_t, kFormSamples> series) {
    int32_t sum = 0;
    for (const uint8_t s : series) sum += s;
    return (sum + 15) / 30;
}

// The best of the unshifted and the two one-sample shifts.
int32_t bestShift(const uint8_t* beat, const uint8_t* form) {
    const auto b = std::span<const uint8_t, kFormSamples>(beat, kFormSamples);
    const auto t = std::span<const uint8_t, kFormSamples>(form, kFormSamples);
    const auto bShifted = std::span<const uint8_t, kFormSamples>(beat + 1, kFormSamples);
    const auto tShifted = std::span<const uint8_t, kFormSamples>(form + 1, kFormSamples);
    return std::max({formSimilarity(b, t), formSimilarity(bShifted, t), formSimilarity(b, tShifted)});
}

// The score combination wraps like the 32-bit arithmetic it always used.
int32_t wrap32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

int32_t formSimilarity(std::span<const uint8_t, kFormSamples> a, std::span<const uint8_t, kFormSamples> b) {
    const int32_t meanA = roundedMean(a);
    const int32_t meanB = roundedMean(b);
    int32_t sxy = 0;
    int32_t sxx = 0;
    int32_t syy = 0;
    for (size_t i = 5; i < 20; ++i) {
        const int32_t da = a[i] - meanA;
        const int32_t db = b[i] - meanB;
        sxy += da * db;
        sxx += da * da;
        syy += db * db;
    }
    if (sxy < 0) return 0;
    if (sxx <= 20 && syy <= 20) return 999;
    if (sxx == 0 || syy == 0) return INT_MIN;
    return static_cast<int32_t>(sxy * 1000.0 * sxy / sxx / syy);
}

int32_t formScore(const BeatExcerpt& beat, const FormTemplate& form) {
    const int32_t m1 = bestShift(beat.channel1.data(), form.data());
    const int32_t m2 = bestShift(beat.channel2.data(), form.data() + kFormSamples);
    const int32_t hi = std::max(m1, m2);
    const int32_t lo = std::min(m1, m2);
    if (lo > wrap32(int64_t{hi} * 8) / 10) return hi;
    return wrap32(int64_t{lo} + hi) / 2;
}

int32_t matchForm(std::string_view recordingDirectory, const BeatExcerpt& beat) {
    const std::string path = std::string(recordingDirectory) + "/forms.mem";
    std::FILE* file = openPlainFile(path, "rb");
    if (file == nullptr) raiseFileNotFound(path);
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (size_t got = 0; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    const size_t count = bytes.size() > kCountOffset ? bytes[kCountOffset] / 4u : 0;
    int32_t best = -1;
    int32_t bestScore = 0;
    // On the heap: GCC 12 at -O2 folds the stores into a stack template in
    // a way that memcheck takes for undefined reads in formScore.
    std::vector<FormTemplate> forms(count);
    for (size_t i = 0; i < count; ++i) {
        // A template cut short by the end of the file reads as zeros.
        FormTemplate& form = forms[i];
        const size_t at = kTemplatesOffset + i * kTemplateBytes;
        for (size_t k = 0; k < kTemplateBytes && at + k < bytes.size(); ++k) form[k] = bytes[at + k];
        form[kTemplateBytes] = form[kTemplateBytes - 1];
        const int32_t score = formScore(beat, form);
        if (best < 0 || score > bestScore) {
            best = static_cast<int32_t>(i);
            bestScore = score;
        }
    }
    return best;
}

}  // namespace lumen
