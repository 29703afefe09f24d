// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording.h"

#include <gtest/gtest.h>

#include "store/recording_writer.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

struct Home {
    testing::TempHome home;
    CodeTable table = testing::flatCodeTable();
    RecordingWriter writer{table};

    Home() {
        home.writeCodeTable(table);
        home.writePathFile();
        setClock(8, 3, 37);
        writer.setSection(SectionId::Patient, std::vector<uint8_t>(101, 0));
    }
    void setClock(uint8_t hour, uint8_t minute, uint8_t second) {
        writer.setSection(SectionId::RecordingClock, {0, 0, 0, second, minute, hour, 0, 0, 0, 0, 0, 0});
    }
    void save() const { home.writeFile(home.recordingPath("holter.mem"), writer.build()); }
};

TEST(Recording, BlockClockUsesByteArithmeticAndWrapsOnceAtMidnight) {
    Home h;
    h.setClock(23, 59, 12);
    h.save();
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    EXPECT_EQ(recording.blockClock(6), (Clock{0, 0, 0}));
    EXPECT_EQ(recording.blockClock(7), (Clock{0, 0, 10}));
    EXPECT_EQ(recording.blockClock(365), (Clock{0, 59, 50}));
    EXPECT_EQ(recording.blockClock(367), (Clock{1, 0, 10}));
}

TEST(Recording, BlockIndexOfThreeKPlusTwoBytesGivesKBlocks) {
    Home h;
    h.writer.setSection(SectionId::BlockIndex, std::vector<uint8_t>(3 * 5 + 2, 0));
    std::vector<uint8_t> bytes = h.writer.build();
    // The writer regenerates section 18, so patch its length by hand.
    const size_t entry = 1 + 16 * 17;
    bytes[entry + 6] = 17;
    h.home.writeFile(h.home.recordingPath("holter.mem"), bytes);
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    EXPECT_EQ(recording.blockCount(), 5);
}

TEST(Recording, SectionLookupTakesTheFirstEntryAndKeepsTheSelectionOnFailure) {
    Home h;
    h.save();
    std::vector<uint8_t> bytes = h.home.readFile(h.home.recordingPath("holter.mem"));
    bytes[1 + 16 * 2] = 1;  // entry 2 now also claims id 1
    h.home.writeFile(h.home.recordingPath("holter.mem"), bytes);
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    ASSERT_TRUE(recording.selectSection(SectionId::Patient));
    const SectionPlace patient = recording.selectedSection();
    EXPECT_EQ(patient.offset, 520u);
    EXPECT_FALSE(recording.selectSection(3));
    EXPECT_EQ(recording.selectedSection().offset, patient.offset);
}

}  // namespace
}  // namespace lumen
