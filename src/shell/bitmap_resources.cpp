// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/bitmap_resources.h"

#include "lang/language_texts.h"
#include "shell/button_description.h"

namespace lumen {
namespace {

// Classes 1 and 2 share one arrangement, 50 ids apart.
void addArrangedSet(std::vector<BitmapLoad>& loads, uint32_t base) {
    loads.push_back({0, base + 44});
    loads.push_back({1, base + 45});
    for (int32_t slot = 2; slot <= 26; ++slot) loads.push_back({slot, base + static_cast<uint32_t>(slot)});
    loads.push_back({27, base + 43});
    for (int32_t slot = 28; slot <= 39; ++slot) loads.push_back({slot, base + static_cast<uint32_t>(slot)});
    loads.push_back({40, base + 41});
    loads.push_back({41, base + 42});
    loads.push_back({kCornerSlot, base + 40});
}

}  // namespace

std::vector<BitmapLoad> classBitmaps(int32_t screenClass) {
    std::vector<BitmapLoad> loads;
    if (screenClass == 1 || screenClass == 2) {
        addArrangedSet(loads, screenClass == 1 ? 100 : 150);
        return loads;
    }
    for (int32_t slot = 0; slot <= 39; ++slot) loads.push_back({slot, 200 + static_cast<uint32_t>(slot)});
    loads.push_back({kCornerSlot, 240});
    return loads;
}

std::vector<BitmapLoad> languageBitmaps(int32_t screenClass, int32_t languageIndex) {
    const int32_t c = screenClass - 1;
    const int32_t block = languageIndex * 100;
    std::vector<BitmapLoad> loads;
    for (int32_t slot = 4; slot <= 9; ++slot) {
        loads.push_back({slot, static_cast<uint32_t>(block + 10 * c + 196 + slot)});
    }
    loads.push_back({28, static_cast<uint32_t>(block + 10 * c + 209)});
    const auto artefactNormal = static_cast<uint32_t>(block + 2 * c + 236);
    loads.push_back({16, artefactNormal});
    loads.push_back({17, artefactNormal + 1});
    loads.push_back({36, artefactNormal});
    loads.push_back({37, artefactNormal + 1});
    return loads;
}

std::optional<ResourcePlace> placeOfResource(uint32_t resourceId) {
    for (int32_t screenClass = 1; screenClass <= 3; ++screenClass) {
        for (const BitmapLoad& load : classBitmaps(screenClass)) {
            if (load.resourceId == resourceId) return ResourcePlace{load.slot, screenClass, 0};
        }
        for (int32_t language = 1; language <= 13; ++language) {
            if (!LanguageTexts::isAvailable(language)) continue;
            for (const BitmapLoad& load : languageBitmaps(screenClass, language)) {
                // Slots 36 and 37 repeat the pictures of 16 and 17.
                if (load.resourceId == resourceId && load.slot < 36) {
                    return ResourcePlace{load.slot, screenClass, language};
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace lumen
