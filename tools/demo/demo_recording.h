// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "assembly/recording_image.h"

namespace lumen {

// The synthetic recording of `holter demo`: a rhythm plan of the given
// length, its ECG synthesised, analysed and laid out. The same arguments
// always give the same bytes.
class DemoRecordingBuilder {
public:
    static RecordingImage build(int32_t hours, uint32_t seed);
};

}  // namespace lumen
