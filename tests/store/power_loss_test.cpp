// SPDX-License-Identifier: GPL-3.0-or-later
// A power cut at any disk step of an update, in the manner of SQLite's crash
// test: every write not yet synced is dropped, written, or garbled sector by
// sector (the bytes beside the write too), and names not yet made durable by a folder
// sync may be lost.
// A killed process cannot show a missing sync: its writes stay in the cache.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file/durable_file.h"
#include "store/disk_steps.h"
#include "store/power_loss_disk.h"
#include "store/recording_file.h"
#include "support/temp_home.h"

namespace lumen::testing {
namespace {

constexpr uint32_t kMixedCutsPerStep = 12;

// The states a power cut after one disk step can leave.
struct Cut {
    int step = 0;
    bool committed = false;  // the update had been reported durable
    std::vector<FolderImage> images;
};

PowerLossDisk* disk = nullptr;
bool committed = false;
std::vector<Cut> cuts;

void cutAfterStep(DiskStep) {
    disk->noteStep();
    Cut cut{static_cast<int>(cuts.size()) + 1, committed, {}};
    cut.images.push_back(disk->afterPowerLoss(PowerLoss::AllDropped));
    cut.images.push_back(disk->afterPowerLoss(PowerLoss::AllWritten));
    for (uint32_t seed = 1; seed <= kMixedCutsPerStep; ++seed) {
        cut.images.push_back(disk->afterPowerLoss(PowerLoss::Mixed, seed));
    }
    cuts.push_back(std::move(cut));
}

class PowerLossTest : public ::testing::Test {
protected:
    void TearDown() override {
        setDiskStepHook(nullptr);
        setDurabilityWatch(nullptr);
        disk = nullptr;
    }

    // A session with one update: three overlapping ranges, the last one
    // growing the file.
    void runSession() const {
        RecordingFile file;
        ASSERT_EQ(file.open(path_, RecordingAccess::Session), OpenResult::Opened);
        file.beginUpdate();
        ASSERT_TRUE(file.writeAt(100, bytePattern(400, 50)));
        ASSERT_TRUE(file.writeAt(300, bytePattern(1000, 90)));
        ASSERT_TRUE(file.writeAt(8000, bytePattern(500, 20)));
        committed = file.commitUpdate();
        ASSERT_TRUE(committed);
    }
    std::vector<uint8_t> bytesAfterUpdate() const {
        std::vector<uint8_t> bytes = original_;
        bytes.resize(8500);
        for (const auto& [at, part] : {std::pair{100, bytePattern(400, 50)}, std::pair{300, bytePattern(1000, 90)},
                                       std::pair{8000, bytePattern(500, 20)}}) {
            std::copy(part.begin(), part.end(), bytes.begin() + at);
        }
        return bytes;
    }

    TempHome home_;
    std::string path_ = home_.path("holter.mem");
    std::vector<uint8_t> original_ = bytePattern(8192, 3);
};

TEST_F(PowerLossTest, CutAtAnyDiskStepTheRecordingReopensAsBeforeOrAfterTheUpdate) {
#ifdef _WIN32
    GTEST_SKIP() << "NTFS makes names durable with the file; the model is of a POSIX page cache";
#else
    home_.writeFile(path_, original_);
    PowerLossDisk model(home_.programDirectory());
    disk = &model;
    committed = false;
    cuts.clear();
    setDurabilityWatch(&model);
    setDiskStepHook(cutAfterStep);
    ASSERT_NO_FATAL_FAILURE(runSession());
    TearDown();

    const std::vector<uint8_t> after = bytesAfterUpdate();
    int beforeSeen = 0;
    int afterSeen = 0;
    int tornSeen = 0;  // the recording itself was neither: the journal had work to do
    for (const Cut& cut : cuts) {
        for (size_t i = 0; i < cut.images.size(); ++i) {
            const std::vector<uint8_t>& cutRecording = cut.images[i].at("holter.mem");
            if (cutRecording != original_ && cutRecording != after) ++tornSeen;
            PowerLossDisk::layDown(home_.programDirectory(), cut.images[i]);
            // A tool and a viewer each recover in their own way.
            const RecordingAccess access = i % 2 == 0 ? RecordingAccess::Read : RecordingAccess::Session;
            RecordingFile file;
            ASSERT_EQ(file.open(path_, access), OpenResult::Opened) << "step " << cut.step << ", cut " << i;
            const std::vector<uint8_t> bytes(file.image().begin(), file.image().end());
            file.close();
            EXPECT_EQ(home_.readFile(path_), bytes) << "step " << cut.step << ", cut " << i;
            if (bytes == after) {
                ++afterSeen;
            } else if (bytes == original_ && !cut.committed) {
                ++beforeSeen;
            } else {
                ADD_FAILURE() << "step " << cut.step << ", cut " << i
                              << (cut.committed ? ": the committed update is lost" : ": neither before nor after");
            }
        }
    }
    // The journal reserved (3), the update (14), the journal removed (2).
    EXPECT_GE(cuts.size(), 19u);
    EXPECT_GT(beforeSeen, 0);
    EXPECT_GT(afterSeen, 0);
    EXPECT_GT(tornSeen, 0);
    std::printf("%zu steps, %d cuts before, %d after, %d with a torn recording\n", cuts.size(), beforeSeen, afterSeen,
                tornSeen);
#endif
}

}  // namespace
}  // namespace lumen::testing
