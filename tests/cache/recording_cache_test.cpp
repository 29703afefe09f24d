// SPDX-License-Identifier: GPL-3.0-or-later
#include "cache/recording_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cache/recent_recordings.h"
#include "cache/source_key.h"
#include "import/import_error.h"
#include "support/temp_home.h"
#include "support/wfdb_fixture.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

class RecordingCacheTest : public ::testing::Test {
protected:
    testing::TempHome place;
    fs::path sources = fs::path(place.path("sources"));
    RecordingCache cache{place.path("cache")};

    void SetUp() override { fs::create_directories(sources); }
};

TEST_F(RecordingCacheTest, TheSameContentFindsItsHomeAgainAndAChangedFileGetsANewOne) {
    const std::string header = testing::writeBeatingRecord(sources, "rec");
    const CachedHome first = cache.open(header);
    EXPECT_TRUE(first.imported);
    EXPECT_TRUE(RecordingCache::isCompleteHome(first.homeFolder));
    EXPECT_EQ(fs::path(first.homeFolder).filename().string().substr(0, 4), "rec-");

    // A copy elsewhere is the same recording: its corrections live in that home.
    fs::create_directories(sources / "copy");
    fs::copy_file(sources / "rec.hea", sources / "copy" / "rec.hea");
    fs::copy_file(sources / "rec.dat", sources / "copy" / "rec.dat");
    const CachedHome again = cache.open((sources / "copy" / "rec").string());  // a WFDB record by its name
    EXPECT_FALSE(again.imported);
    EXPECT_EQ(again.homeFolder, first.homeFolder);

    // One changed sample in the signal file is another recording.
    std::fstream dat(sources / "copy" / "rec.dat", std::ios::in | std::ios::out | std::ios::binary);
    dat.seekp(1000);
    dat.put('\x55');
    dat.close();
    const CachedHome changed = cache.open((sources / "copy" / "rec.hea").string());
    EXPECT_TRUE(changed.imported);
    EXPECT_NE(changed.homeFolder, first.homeFolder);
}

TEST_F(RecordingCacheTest, AFileThatCannotBeImportedNamesItselfAndLeavesNoHome) {
    std::ofstream(sources / "broken.edf") << "0       this is no EDF header";
    try {
        cache.open((sources / "broken.edf").string());
        FAIL() << "a broken file was opened";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("broken.edf"), std::string::npos) << e.what();
    }
    std::error_code error;
    EXPECT_TRUE(fs::is_empty(fs::path(place.path("cache")) / "homes", error)) << error.message();
}

TEST_F(RecordingCacheTest, TheKeyCoversTheFilesOfARecordOnly) {
    testing::writeBeatingRecord(sources, "rec", 2);
    testing::writeBeatingRecord(sources, "other", 2);
    std::ofstream(sources / "rec.atr") << "annotations";
    const auto files = SourceKey::filesOf((sources / "rec.hea").string());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(fs::path(files[0]).filename(), "rec.hea");
    EXPECT_EQ(fs::path(files[1]).filename(), "rec.atr");
    EXPECT_EQ(fs::path(files[2]).filename(), "rec.dat");
    EXPECT_NE(SourceKey::of((sources / "rec.hea").string()).hash(),
              SourceKey::of((sources / "other.hea").string()).hash());
}

TEST(RecentRecordings, NewestFirstEachSourceOnceAtMostTwelveAndDamagedLinesSkipped) {
    testing::TempHome place;
    const std::string list = place.path("recent.txt");
    place.writeText(list, "no tab here\n\tno source\n" + place.path("recent.txt") + "\t/home/a\n");
    const RecentRecordings recent(list);
    for (int k = 0; k < 14; ++k) {
        const std::string source = place.path("s" + std::to_string(k));
        place.writeText(source, "x");
        ASSERT_TRUE(recent.remember({source, "/homes/" + std::to_string(k)}));
    }
    ASSERT_TRUE(recent.remember({place.path("s5"), "/homes/5"}));
    const auto entries = recent.load();
    ASSERT_EQ(entries.size(), RecentRecordings::kMaxEntries);
    EXPECT_EQ(entries[0].homeFolder, "/homes/5");
    EXPECT_EQ(entries[1].homeFolder, "/homes/13");
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.homeFolder == "/homes/5"; }),
              1);
    fs::remove(place.path("s13"));
    EXPECT_EQ(recent.load()[1].homeFolder, "/homes/12") << "a source that is gone is not offered";
}

}  // namespace
}  // namespace lumen
