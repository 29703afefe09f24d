// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "assembly/recording_image.h"

namespace lumen {

// doef.mem's start event for a recording with nothing to open on: the time
// scale.
inline constexpr int32_t kTimeScaleStartEventCode = 117;

// What a program home is made of, but path.tmp (which names where the home
// ends up). The recording's bytes are borrowed.
struct HomeContent {
    std::string codeTable;  // huffman.ko2
    std::string colorIni;
    std::string tbColorIni;
    std::string doefMem;
    std::span<const uint8_t> holterMem;
    std::span<const uint8_t> formsMem;
    std::string sourceNotes;  // recording/source.txt; empty: the recording has none

    static HomeContent of(const RecordingImage& recording, int language, int32_t startPositionTicks,
                          int32_t startEventCode);
};

}  // namespace lumen
