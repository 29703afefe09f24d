// SPDX-License-Identifier: GPL-3.0-or-later
#include <vector>

#include "analysis/beat_model.h"

namespace lumen {

// Learned from the annotated training records by bench/train_beat_model.sh.
const BeatModel& BeatModel::embedded() {
    static const BeatModel model(
        std::vector<ModelNode>{
#include "analysis/beat_model_nodes.inc"
        },
        std::vector<int32_t>{
#include "analysis/beat_model_roots.inc"
        });
    return model;
}

}  // namespace lumen
