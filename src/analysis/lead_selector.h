// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <vector>

namespace lumen {

// Adds the squared slopes of two leads, each scaled to its own QRS slope,
// second by second: a lead whose slope stays busy (muscle tremor, electrode
// motion) while the other lead is quiet is left out, and the quiet lead
// counts twice, so that the noise of one lead neither makes beats nor hides
// them.
class LeadSelector {
public:
    // `busy`: each lead's busyShares.
    static void combine(const std::vector<float> (&slopes)[2], const std::vector<float> (&busy)[2], double rateHz,
                        std::vector<float>& out);
    // The share of a second in which a lead's integrated slope stays above
    // `kBusyLevel` of its QRS level.
    static std::vector<float> busyShares(std::span<const float> slope, double rateHz);

    static constexpr float kBusyLevel = 0.3f;
    static constexpr float kNoisyShare = 0.45f;
    static constexpr float kQuietShare = 0.35f;
};

}  // namespace lumen
