// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "lang/language_texts.h"
#include "shell/bitmap_resources.h"
#include "shell/button_artwork.h"
#include "shell/button_description.h"

namespace lumen {
namespace {

TEST(BitmapResources, LoadRulesOfTheThreeScreenClasses) {
    const auto first = classBitmaps(1);
    EXPECT_EQ(first.front().resourceId, 144u);  // slot 0
    EXPECT_EQ(first.size(), 43u);
    EXPECT_EQ(classBitmaps(3).size(), 41u);  // no pictures for slots 40 and 41
    const auto place = placeOfResource(193);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->slot, 27);
    EXPECT_EQ(place->screenClass, 2);
    EXPECT_FALSE(placeOfResource(100));
    EXPECT_FALSE(placeOfResource(127));
    EXPECT_FALSE(placeOfResource(800));  // language 6 has no block
}

TEST(ButtonArtwork, EveryResourceIdHasAPictureOfItsButtonPlace) {
    const ButtonArtwork artwork;
    int pictures = 0;
    for (uint32_t id = 100; id <= 1541; ++id) {
        const auto place = placeOfResource(id);
        auto picture = artwork.resourcePicture(id);
        ASSERT_EQ(place.has_value(), picture != nullptr) << id;
        if (!picture) continue;
        ++pictures;
        const FaceRole role = ButtonDescription::embedded().face(place->slot).role;
        EXPECT_EQ(picture->deviceSize(), ButtonArtwork::pictureSize(role, place->screenClass)) << id;
    }
    // 3 class sets (43 + 43 + 41) and 12 language blocks of 3 x (6 + 1 + 2).
    EXPECT_EQ(pictures, 43 + 43 + 41 + 12 * 27);
    EXPECT_EQ(ButtonArtwork::pictureSize(FaceRole::Ecg, 1), (Size{90, 29}));
    EXPECT_EQ(ButtonArtwork::pictureSize(FaceRole::Small, 3), (Size{25, 17}));
}

int differingPixels(const RasterCanvas& a, const RasterCanvas& b) {
    int count = 0;
    for (int32_t y = 0; y < a.deviceSize().height; ++y) {
        for (int32_t x = 0; x < a.deviceSize().width; ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return count;
}

TEST(ButtonArtwork, SelectedStatesAndLanguagesLookDifferent) {
    const ButtonArtwork artwork;
    for (const int32_t slot : {2, 10, 14, 16}) {
        const auto normal = artwork.slotPicture(slot, 1, 2);
        const auto selected = artwork.slotPicture(slot + 1, 1, 2);
        const int32_t area = normal->deviceSize().width * normal->deviceSize().height;
        EXPECT_GT(differingPixels(*normal, *selected), area / 4) << slot;
    }
    // The delete button greys its cross when the event cannot be removed.
    EXPECT_GT(differingPixels(*artwork.slotPicture(0, 1, 2), *artwork.slotPicture(1, 1, 2)), 50);
    const auto english = artwork.slotPicture(28, 1, 2);
    const auto russian = artwork.slotPicture(28, 1, 11);
    EXPECT_GT(differingPixels(*english, *russian), 10);
}

TEST(ButtonDescription, WordsPerLanguageAndBadLinesSkipped) {
    const ButtonDescription& description = ButtonDescription::embedded();
    EXPECT_EQ(description.word(3, ButtonWord::Exit), "Ende");
    EXPECT_EQ(description.word(6, ButtonWord::Exit), "Exit");
    for (int32_t language = 1; language <= 13; ++language) {
        if (LanguageTexts::isAvailable(language)) {
            EXPECT_FALSE(description.word(language, ButtonWord::Artefact).empty());
        }
    }
    const ButtonDescription broken("0 small glyph cross zz0000 ffffff\n5 wide text Hi 000000 ffffff extra\n"
                                   "7 ecg text A_b 000000 ffffff\n",
                                   "2 Exit\n");
    EXPECT_EQ(broken.face(0).kind, FaceKind::Blank);
    EXPECT_EQ(broken.face(5).kind, FaceKind::Blank);
    EXPECT_EQ(broken.face(7).content, "A b");
    EXPECT_EQ(broken.word(2, ButtonWord::Exit), "");
}

}  // namespace
}  // namespace lumen
