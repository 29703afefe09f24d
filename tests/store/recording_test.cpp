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
        std::vector<uint8_t> patient(101, 0);
        const std::string line = "Doe, John\r\n";
        std::copy(line.begin(), line.end(), patient.begin());
        patient[100] = 2;
        writer.setSection(SectionId::Patient, patient);
    }
    void setClock(uint8_t hour, uint8_t minute, uint8_t second) {
        writer.setSection(SectionId::RecordingClock, {0, 0, 0, second, minute, hour, 0, 0, 0, 0, 0, 0});
    }
    void addRampBlocks(int count) {
        for (int b = 0; b < count; ++b) {
            std::array<uint8_t, 500> one;
            std::array<uint8_t, 500> two;
            for (int i = 0; i < 500; ++i) {
                one[i] = static_cast<uint8_t>(b + i);
                two[i] = static_cast<uint8_t>(255 - b - i / 2);
            }
            writer.addBlock(one, two);
        }
    }
    void save() const { home.writeFile(home.recordingPath("holter.mem"), writer.build()); }
};

TEST(Recording, OpensAndFetchesEveryBlockAsWritten) {
    Home h;
    h.addRampBlocks(4);
    h.save();
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    EXPECT_EQ(recording.blockCount(), 4);
    EXPECT_EQ(recording.startClock(), (Clock{8, 3, 0}));
    EXPECT_EQ(recording.recordingDirectory(), h.home.recordingDirectory());
    EXPECT_TRUE(recording.directory().valid());
    std::vector<uint8_t> one(1500), two(1500);
    recording.selectBlockIndex();
    for (int b = 1; b < 4; ++b) recording.fetchBlock(one, two, b, 1);
    EXPECT_EQ(recording.fetchBlock(one, two, 3, 1), (Clock{8, 3, 30}));
    EXPECT_EQ(one[0], 1);
    EXPECT_EQ(one[1000 + 499], static_cast<uint8_t>(3 + 499));
    EXPECT_EQ(two[500 + 10], static_cast<uint8_t>(255 - 2 - 5));
}

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
    h.home.writeFile(h.home.recordingPath("holter.mem"), bytes);
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

TEST(Recording, PatientLineEndsAfterItsLineBreakOrAt99Characters) {
    Home h;
    h.save();
    Recording recording(h.home.programDirectory(), RecordingAccess::Session);
    EXPECT_EQ(recording.readPatientLine(), "Doe, John\r\n");

    std::vector<uint8_t> patient(101, 'x');
    h.writer.setSection(SectionId::Patient, patient);
    h.save();
    Recording longLine(h.home.programDirectory());
    EXPECT_EQ(longLine.readPatientLine(), std::string(99, 'x'));
}

TEST(Recording, EditCounterAccumulatesAtOffset516) {
    Home h;
    h.writer.setEditCounter(40);
    h.save();
    {
        Recording recording(h.home.programDirectory(), RecordingAccess::Session);
        EXPECT_TRUE(recording.addToEditCounter(2));
        recording.closeFile();
    }
    const std::vector<uint8_t> bytes = h.home.readFile(h.home.recordingPath("holter.mem"));
    EXPECT_EQ(bytes[516], 42);
    EXPECT_EQ(bytes[517] | bytes[518] | bytes[519], 0);
}

}  // namespace
}  // namespace lumen
