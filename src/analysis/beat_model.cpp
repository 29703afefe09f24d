// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_model.h"

#include <algorithm>
#include <stdexcept>

namespace lumen {

BeatModel::BeatModel(std::vector<ModelNode> nodes, std::vector<int32_t> roots)
    : nodes_(std::move(nodes)), roots_(std::move(roots)) {
    const auto inside = [&](int32_t i) { return i >= 0 && static_cast<size_t>(i) < nodes_.size(); };
    for (int32_t r : roots_)
        if (!inside(r)) throw std::invalid_argument("A beat model's tree starts outside its nodes.");
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const ModelNode& n = nodes_[i];
        if (n.feature == ModelNode::kLeaf) continue;
        // Children lie after their parent, so no walk can loop.
        if (n.feature < 0 || n.feature >= kBeatFeatureCount || !inside(n.left) || !inside(n.right) ||
            static_cast<size_t>(std::min(n.left, n.right)) <= i)
            throw std::invalid_argument("A beat model's node " + std::to_string(i) + " is malformed.");
    }
}

std::array<double, kModelClasses> BeatModel::scores(const BeatFeatures& beat) const {
    std::array<double, kModelClasses> score{};
    for (size_t t = 0; t < roots_.size(); ++t) {
        const ModelNode* n = &nodes_[static_cast<size_t>(roots_[t])];
        while (n->feature != ModelNode::kLeaf)
            n = &nodes_[static_cast<size_t>(beat[static_cast<size_t>(n->feature)] < n->threshold ? n->left : n->right)];
        score[t % kModelClasses] += n->value;
    }
    return score;
}

BeatKind BeatModel::classify(const BeatFeatures& beat) const {
    const auto s = scores(beat);
    return static_cast<BeatKind>(std::max_element(s.begin(), s.end()) - s.begin());
}

}  // namespace lumen
