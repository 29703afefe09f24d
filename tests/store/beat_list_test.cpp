// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_list.h"

#include <gtest/gtest.h>

#include "lang/beat_statistics_text.h"
#include "store/recording.h"
#include "store/recording_writer.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

std::vector<uint8_t> wordBytes(const std::vector<BeatWord>& words) {
    std::vector<uint8_t> bytes;
    for (const BeatWord word : words) {
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(word.raw >> (8 * k)));
    }
    return bytes;
}

struct BeatHome {
    testing::TempHome home;
    CodeTable table = testing::flatCodeTable();

    explicit BeatHome(const std::vector<BeatWord>& words) {
        home.writeCodeTable(table);
        home.writePathFile();
        RecordingWriter writer(table);
        writer.setSection(SectionId::RecordingClock, std::vector<uint8_t>(12, 0));
        writer.setSection(SectionId::Beats, wordBytes(words));
        writer.setSection(SectionId::HeartRateMax, std::vector<uint8_t>(12, 0xEE));
        home.writeFile(home.recordingPath("holter.mem"), writer.build());
    }
};

// Where a walk in file order for the first beat at or after a sample may
// start: never past that beat, on words out of order too, and still right
// after words were moved through write access.
TEST(BeatList, FirstReachingIsWhereTheWalkFindsItsFirstWordAtOrAfter) {
    std::vector<BeatWord> words;
    for (const uint32_t sample : {10u, 30u, 20u, 50u, 40u, 40u, 90u, 60u}) {
        words.push_back(BeatWord::make(sample * 4, BeatClass::Normal, 0));
    }
    BeatHome h(words);
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    BeatList& beats = recording.beats();
    beats.load(recording);
    const BeatList& reader = beats;
    const auto walk = [&reader](int32_t sample) {
        size_t i = 0;
        while (i < reader.size() && reader[i].sample() < sample) ++i;
        return i;
    };
    for (int32_t sample = -5; sample <= 100; ++sample) EXPECT_EQ(beats.firstReaching(sample), walk(sample)) << sample;
    EXPECT_EQ(beats.firstReaching(45), 3u);  // 50 stands before 40
    EXPECT_EQ(beats.firstReaching(91), 8u);  // none
    beats[0] = BeatWord::make(95 * 4, BeatClass::Normal, 0);
    EXPECT_EQ(beats.firstReaching(91), 0u);
    beats.relabel(0, kNoBeatLabel);
    EXPECT_EQ(beats[0].sample(), 95);
    EXPECT_EQ(beats.firstReaching(91), 0u);
}

}  // namespace
}  // namespace lumen
