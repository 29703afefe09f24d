// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "store/beat_window.h"

namespace lumen {

// The shell's record of annotation changes (labelChangeState and
// labelChangeCount), updated by each label write-back.
struct LabelChanges {
    int32_t state = 0;  // 0 unchanged, else the change kind; 1 is never lowered
    int32_t count = 0;  // write-backs that moved a beat between normal and abnormal

    void record(ChangeKind kind) {
        const int32_t r = static_cast<int32_t>(kind) & 0xFF;
        if (state != 1) state = r;
        if (r == 1) ++count;
    }
};

}  // namespace lumen
