// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/analysed_beat.h"
#include "analysis/beat_features.h"

namespace lumen {

// The classes the model tells apart, in the order of its scores.
inline constexpr int kModelClasses = 4;  // normal, supraventricular, ventricular, artefact (no beat)

// One node of a regression tree: an inner node sends a beat left when its
// feature is below the threshold; a leaf adds its value to its class's score.
struct ModelNode {
    int16_t feature = kLeaf;  // a BeatFeature, or kLeaf
    float threshold = 0.0f;
    int32_t left = 0;  // node indices within the model
    int32_t right = 0;
    float value = 0.0f;

    static constexpr int16_t kLeaf = -1;
};

// A boosted ensemble of regression trees over BeatFeatures, one tree per
// class and round (tree t adds to the score of class t mod 4); the class
// with the highest score wins. Learned from annotated recordings by
// bench/train_beat_model.sh and embedded as data.
class BeatModel {
public:
    BeatModel(std::vector<ModelNode> nodes, std::vector<int32_t> roots);
    // The model learned from every annotated training record.
    static const BeatModel& embedded();

    std::array<double, kModelClasses> scores(const BeatFeatures& beat) const;
    BeatKind classify(const BeatFeatures& beat) const;

    const std::vector<ModelNode>& nodes() const { return nodes_; }
    const std::vector<int32_t>& roots() const { return roots_; }

private:
    std::vector<ModelNode> nodes_;
    std::vector<int32_t> roots_;
};

}  // namespace lumen
