// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/pixel_streams.h"

#include <gtest/gtest.h>

#include <vector>

#include "view/strip_text.h"

namespace lumen {
namespace {

std::vector<uint8_t> expanded(std::vector<uint8_t> samples, int32_t p) {
    std::vector<uint8_t> pixels(static_cast<size_t>((samples.size() - 1) * p));
    expandLinear<uint8_t>(samples, static_cast<int32_t>(samples.size() - 1), p, pixels);
    return pixels;
}

TEST(Expanders, LinearStepsTowardTheNextSampleWithTruncatedSteps) {
    EXPECT_EQ(expanded({100, 108, 50}, 1), (std::vector<uint8_t>{100, 108}));
    EXPECT_EQ(expanded({100, 108, 100}, 4), (std::vector<uint8_t>{100, 102, 104, 106, 108, 106, 104, 102}));
    EXPECT_EQ(expanded({100, 103}, 4), (std::vector<uint8_t>{100, 100, 100, 100}));
    const std::vector<uint32_t> ordinals{7, 8};
    std::vector<uint32_t> first(4), held(4);
    expandFirst<uint32_t>(ordinals, 2, 2, 0u, first);
    expandHold<uint32_t>(ordinals, 2, 2, held);
    EXPECT_EQ(first, (std::vector<uint32_t>{7, 0, 8, 0}));
    EXPECT_EQ(held, (std::vector<uint32_t>{7, 7, 8, 8}));
}

TEST(StripText, OnlyAFloatingConversionTakesTheNumber) {
    EXPECT_EQ(formatFloat("Ch1: %.2f mV", 1.0), "Ch1: 1.00 mV");
    EXPECT_EQ(formatFloat("%.0f msec", 499.6f), "500 msec");
    EXPECT_EQ(formatFloat("%s mV", 1.0), "%s mV");
    EXPECT_EQ(formatFloat("%f %f", 1.0), "%f %f");
    EXPECT_EQ(formatFloat("100%% %.1f", 2.0), "100% 2.0");
}

}  // namespace
}  // namespace lumen
