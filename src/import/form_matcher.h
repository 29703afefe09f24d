// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "assembly/recording_image.h"

namespace lumen {

inline constexpr int32_t kSameFormScore = 600;  // the viewer's score, thousandths of r²

// Groups the ventricular beats by shape the way the viewer matches a beat
// to a template: a beat whose score against the ventricular template of all
// of them stays below kSameFormScore belongs to a second ventricular form.
// Multiform ventricular ectopy then shows two templates in forms.mem.
class FormMatcher {
public:
    // Reassigns form codes in r.plan.beats (class unchanged) and rebuilds
    // r.forms; returns how many beats moved to the second form.
    static size_t splitVentricularForms(RecordingImage& r);
};

}  // namespace lumen
