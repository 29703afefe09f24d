// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_forms.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "support/temp_home.h"

namespace lumen {
namespace {

std::array<uint8_t, kFormSamples> series(double (*shape)(int)) {
    std::array<uint8_t, kFormSamples> out;
    for (int i = 0; i < kFormSamples; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(128 + shape(i));
    return out;
}

double spike(int i) { return i == 9 ? 60 : i == 11 ? -20 : 0; }
double wide(int i) { return 40 * std::sin((i - 4) / 4.0); }
double flat(int i) { return i % 2; }

BeatExcerpt excerpt(double (*one)(int), double (*two)(int)) {
    BeatExcerpt beat;
    const auto a = series(one);
    const auto b = series(two);
    std::copy(a.begin(), a.end(), beat.channel1.begin());
    std::copy(b.begin(), b.end(), beat.channel2.begin());
    beat.channel1[30] = beat.channel1[29];
    beat.channel2[30] = beat.channel2[29];
    return beat;
}

std::vector<uint8_t> formsFile(const std::vector<std::pair<double (*)(int), double (*)(int)>>& forms, uint8_t countByte) {
    std::vector<uint8_t> bytes(1442 + 60 * forms.size(), 0);
    bytes[1242] = countByte;
    for (size_t f = 0; f < forms.size(); ++f) {
        const auto one = series(forms[f].first);
        const auto two = series(forms[f].second);
        std::copy(one.begin(), one.end(), bytes.begin() + static_cast<long>(1442 + 60 * f));
        std::copy(two.begin(), two.end(), bytes.begin() + static_cast<long>(1442 + 60 * f + 30));
    }
    return bytes;
}

TEST(FormSimilarity, IdenticalShapesScoreAThousandAndOppositeOnesZero) {
    const auto a = series(wide);
    EXPECT_EQ(formSimilarity(a, a), 1000);
    const auto inverted = series(+[](int i) { return -wide(i); });
    EXPECT_EQ(formSimilarity(a, inverted), 0);
}

TEST(FormSimilarity, TwoNearlyFlatSeriesScore999) {
    const auto a = series(flat);
    EXPECT_EQ(formSimilarity(a, a), 999);
    // Flat against a shape: the flat one has no variance left.
    const auto zero = series(+[](int) { return 0.0; });
    EXPECT_EQ(formSimilarity(zero, series(wide)), INT_MIN);
}

TEST(BeatForms, TiesKeepTheEarlierFormAndACountBelowFourMeansNone) {
    testing::TempHome home;
    home.writeFile(home.recordingPath("forms.mem"), formsFile({{spike, spike}, {spike, spike}}, 8));
    EXPECT_EQ(matchForm(home.recordingDirectory(), excerpt(spike, spike)), 0);
    home.writeFile(home.recordingPath("forms.mem"), formsFile({{spike, spike}}, 3));
    EXPECT_EQ(matchForm(home.recordingDirectory(), excerpt(spike, spike)), -1);
}

}  // namespace
}  // namespace lumen
