// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/beat_model.h"

namespace lumen {

// Trains the boosted trees of a BeatModel: multinomial log-loss, one
// regression tree per class and round on histogram bins of each feature
// (second-order gradient boosting with shrinkage).
struct BoostingParameters {
    int rounds = 80;
    int depth = 3;
    double learningRate = 0.15;
    double l2 = 1.0;
    double minChildHessian = 1.0;
    int bins = 48;
};

struct TrainingSet {
    std::vector<BeatFeatures> features;
    std::vector<uint8_t> labels;  // 0 normal, 1 supraventricular, 2 ventricular
    std::vector<double> weights;
};

BeatModel trainBoostedTrees(const TrainingSet& set, const BoostingParameters& p);

}  // namespace lumen
