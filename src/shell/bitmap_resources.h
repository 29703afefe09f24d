// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace lumen {

// One step of loading the button bitmaps: slot (0..41, or the corner slot
// 42) from a bitmap resource id.
struct BitmapLoad {
    int32_t slot = 0;
    uint32_t resourceId = 0;
};

// The screen class's own set: slots 0..39 and the corner, and slots 40 and
// 41 for classes 1 and 2 (class 3 has no pictures for them).
std::vector<BitmapLoad> classBitmaps(int32_t screenClass);
// The language-dependent slots 4..9, 16, 17, 28, 36 and 37.
std::vector<BitmapLoad> languageBitmaps(int32_t screenClass, int32_t languageIndex);

// What a resource id is a picture of.
struct ResourcePlace {
    int32_t slot = 0;
    int32_t screenClass = 0;
    int32_t languageIndex = 0;  // 0 for the screen-class sets
};
// Ids that no load step uses (for example 100, 101 and 127) have none.
std::optional<ResourcePlace> placeOfResource(uint32_t resourceId);

}  // namespace lumen
