#include "view/strip_window.h"

#include <gtest/gtest.h>

#include "store/recording.h"
#include "support/annotated_home.h"

namespace lumen {
namespace {

TEST(StripWindow, OrdinalsSplitBetweenSamples2999And3000) {
    testing::AnnotatedHome h(14);
    h.beats = {BeatWord::make((1000 + 2999) * 4, BeatClass::Normal, 0), BeatWord::make((1000 + 3000) * 4, BeatClass::Normal, 0)};
    h.save();
    Recording recording(h.home.programDirectory());
    recording.beats().load(recording);
    StripWindow window;
    window.loadWithClocks(recording, 2);
    EXPECT_EQ(window.ordinals1[2999], 1u);
    EXPECT_EQ(window.ordinals2[0], 2u);
    EXPECT_EQ(window.ordinalAt(2999), 1u);
    EXPECT_EQ(window.ordinalAt(3000), 2u);
    EXPECT_EQ(window.ordinalAt(6000), 0u);
}

TEST(StripWindow, BlocksPastTheEndAreFlatAndTheirSlotsHaveNoClock) {
    testing::AnnotatedHome h(8);
    h.save();
    Recording recording(h.home.programDirectory());
    StripWindow window;
    window.channel1.assign(StripWindow::kSamples, 0);
    window.loadWithClocks(recording, 3);
    EXPECT_EQ(window.slotClocks[0], (Clock{9, 30, 30}));
    EXPECT_EQ(window.slotClocks[1], (Clock{9, 31, 0}));
    EXPECT_EQ(window.slotClocks[2].hour, 25);  // block 9 is past the end
    EXPECT_EQ(window.channel1[2999], 128);
    EXPECT_EQ(window.channel1[5999], 128);
}

}  // namespace
}  // namespace lumen
