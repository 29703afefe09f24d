// SPDX-License-Identifier: GPL-3.0-or-later
#include "beat_model/gradient_boosting.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumen {
namespace {

struct Binned {
    std::vector<std::vector<float>> edges;  // per feature, ascending
    std::vector<std::vector<uint8_t>> bin;  // per feature, per sample
};

Binned binFeatures(const TrainingSet& set, int bins) {
    Binned b;
    const size_t n = set.features.size();
    b.edges.resize(kBeatFeatureCount);
    b.bin.assign(kBeatFeatureCount, std::vector<uint8_t>(n));
    std::vector<float> values(n);
    for (size_t f = 0; f < kBeatFeatureCount; ++f) {
        for (size_t i = 0; i < n; ++i) values[i] = set.features[i][f];
        std::sort(values.begin(), values.end());
        std::vector<float>& e = b.edges[f];
        for (int k = 1; k < bins; ++k) {
            const float v = values[std::min(n - 1, n * static_cast<size_t>(k) / static_cast<size_t>(bins))];
            if (e.empty() || v > e.back()) e.push_back(v);
        }
        for (size_t i = 0; i < n; ++i)
            b.bin[f][i] = static_cast<uint8_t>(std::upper_bound(e.begin(), e.end(), set.features[i][f]) - e.begin());
    }
    return b;
}

double treeValue(const std::vector<ModelNode>& nodes, int32_t root, const BeatFeatures& x) {
    const ModelNode* n = &nodes[static_cast<size_t>(root)];
    while (n->feature != ModelNode::kLeaf)
        n = &nodes[static_cast<size_t>(x[static_cast<size_t>(n->feature)] < n->threshold ? n->left : n->right)];
    return n->value;
}

class TreeBuilder {
public:
    TreeBuilder(const Binned& binned, const std::vector<double>& g, const std::vector<double>& h,
                const BoostingParameters& p, std::vector<ModelNode>& nodes)
        : binned_(binned), g_(g), h_(h), p_(p), nodes_(nodes) {}

    // Builds the subtree of `samples`; returns its root's index.
    int32_t build(std::vector<uint32_t>& samples, int depth) {
        double gSum = 0.0, hSum = 0.0;
        for (uint32_t i : samples) {
            gSum += g_[i];
            hSum += h_[i];
        }
        const auto at = static_cast<int32_t>(nodes_.size());
        nodes_.push_back({});
        const Split s = depth < p_.depth ? bestSplit(samples, gSum, hSum) : Split{};
        if (s.feature < 0) {
            nodes_[static_cast<size_t>(at)].value = static_cast<float>(-gSum / (hSum + p_.l2) * p_.learningRate);
            return at;
        }
        std::vector<uint32_t> left, right;
        for (uint32_t i : samples)
            (binned_.bin[static_cast<size_t>(s.feature)][i] <= s.bin ? left : right).push_back(i);
        samples.clear();
        samples.shrink_to_fit();
        const int32_t l = build(left, depth + 1);
        const int32_t r = build(right, depth + 1);
        ModelNode& n = nodes_[static_cast<size_t>(at)];
        n.feature = static_cast<int16_t>(s.feature);
        n.threshold = binned_.edges[static_cast<size_t>(s.feature)][s.bin];
        n.left = l;
        n.right = r;
        return at;
    }

private:
    struct Split {
        int feature = -1;
        uint8_t bin = 0;
        double gain = 0.0;
    };

    Split bestSplit(const std::vector<uint32_t>& samples, double gSum, double hSum) const {
        Split best;
        const double parent = gSum * gSum / (hSum + p_.l2);
        for (size_t f = 0; f < kBeatFeatureCount; ++f) {
            const auto& edges = binned_.edges[f];
            std::array<double, 256> gh{}, hh{};
            for (uint32_t i : samples) {
                gh[binned_.bin[f][i]] += g_[i];
                hh[binned_.bin[f][i]] += h_[i];
            }
            double gl = 0.0, hl = 0.0;
            for (size_t b = 0; b < edges.size(); ++b) {
                gl += gh[b];
                hl += hh[b];
                const double gr = gSum - gl, hr = hSum - hl;
                if (hl < p_.minChildHessian || hr < p_.minChildHessian) continue;
                const double gain = gl * gl / (hl + p_.l2) + gr * gr / (hr + p_.l2) - parent;
                if (gain > best.gain) best = {static_cast<int>(f), static_cast<uint8_t>(b), gain};
            }
        }
        return best;
    }

    const Binned& binned_;
    const std::vector<double>& g_;
    const std::vector<double>& h_;
    const BoostingParameters& p_;
    std::vector<ModelNode>& nodes_;
};

}  // namespace

BeatModel trainBoostedTrees(const TrainingSet& set, const BoostingParameters& p) {
    const size_t n = set.features.size();
    const Binned binned = binFeatures(set, p.bins);
    std::vector<std::array<double, kModelClasses>> score(n);
    std::vector<double> g(n), h(n);
    std::vector<ModelNode> nodes;
    std::vector<int32_t> roots;
    std::vector<uint32_t> all(n);
    for (int round = 0; round < p.rounds; ++round) {
        std::vector<std::array<double, kModelClasses>> prob(n);
        for (size_t i = 0; i < n; ++i) {
            const double top = *std::max_element(score[i].begin(), score[i].end());
            double sum = 0.0;
            for (int k = 0; k < kModelClasses; ++k) sum += prob[i][k] = std::exp(score[i][k] - top);
            for (int k = 0; k < kModelClasses; ++k) prob[i][k] /= sum;
        }
        for (int k = 0; k < kModelClasses; ++k) {
            for (size_t i = 0; i < n; ++i) {
                const double pk = prob[i][k];
                g[i] = set.weights[i] * (pk - (set.labels[i] == k ? 1.0 : 0.0));
                h[i] = set.weights[i] * std::max(1e-6, pk * (1.0 - pk));
            }
            for (uint32_t i = 0; i < n; ++i) all[i] = i;
            TreeBuilder builder(binned, g, h, p, nodes);
            roots.push_back(builder.build(all, 0));
            all.resize(n);
            for (size_t i = 0; i < n; ++i) score[i][k] += treeValue(nodes, roots.back(), set.features[i]);
        }
    }
    return BeatModel(std::move(nodes), std::move(roots));
}

}  // namespace lumen
