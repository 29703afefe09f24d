// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/draw/geometry.h"

namespace lumen {

// How a page lies on the sheet: a landscape page is the sheet turned, so a
// long ECG strip keeps its true scale.
enum class PageOrientation : uint8_t { Portrait, Landscape };

constexpr Size orientedPage(Size sheetHundredthMm, PageOrientation orientation) {
    const bool turned = orientation == PageOrientation::Landscape;
    const int32_t shorter =
        sheetHundredthMm.width < sheetHundredthMm.height ? sheetHundredthMm.width : sheetHundredthMm.height;
    const int32_t longer =
        sheetHundredthMm.width < sheetHundredthMm.height ? sheetHundredthMm.height : sheetHundredthMm.width;
    return turned ? Size{longer, shorter} : Size{shorter, longer};
}

}  // namespace lumen
