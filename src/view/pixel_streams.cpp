// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/pixel_streams.h"

#include "store/beat_word.h"
#include "store/clock.h"

namespace lumen {

void PixelStreams::reserveColumns(int32_t capacity) {
    const size_t size = static_cast<size_t>(capacity < 0 ? 0 : capacity);
    if (channel1.size() >= size) return;
    channel1.assign(size, kBaselineSample);
    channel2.assign(size, kBaselineSample);
    penIndex.assign(size, 0);
    episodeCode.assign(size, 0);
    beatLabel.assign(size, kNoBeatLabel);
    beatOrdinal.assign(size, 0);
}

bool PixelStreams::holdsBeat(int32_t column) const { return labelAt(column) != kNoBeatLabel; }

uint8_t PixelStreams::labelAt(int32_t column) const {
    return column >= 0 && column < columns ? beatLabel[static_cast<size_t>(column)] : kNoBeatLabel;
}

uint32_t PixelStreams::ordinalAt(int32_t column) const {
    return column >= 0 && column < columns ? beatOrdinal[static_cast<size_t>(column)] : 0;
}

uint8_t PixelStreams::channel1At(int32_t column) const {
    return column >= 0 && column < columns ? channel1[static_cast<size_t>(column)] : kBaselineSample;
}

uint8_t PixelStreams::channel2At(int32_t column) const {
    return column >= 0 && column < columns ? channel2[static_cast<size_t>(column)] : kBaselineSample;
}

}  // namespace lumen
