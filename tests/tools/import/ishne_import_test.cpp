// SPDX-License-Identifier: GPL-3.0-or-later
// An ISHNE Holter file made here: the leads and beat annotations arrive (its
// damaged forms are import oddities).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "import/ishne/ishne_header.h"
#include "store/recording.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"
#include "tools/import/source_files.h"

namespace lumen {
namespace {

const testing::IshneFile kRecord{.labels = "NNVNNSNNVVN", .named = true};  // one beat each 0.8 s

TEST(IshneImport, LeadsBeatAnnotationsNameAndDateArrive) {
    testing::TempHome dir;
    testing::writeIshne(dir.path("rec"), kRecord);
    const ToolRun run = runHolter("import " + dir.path("rec.ecg") + " " + dir.path("home"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("II + V5"), std::string::npos) << run.out;
    const std::string info = runHolter("info --home " + dir.path("home")).out;
    const std::vector<int64_t> beats = testing::ishneBeatSamples(kRecord);
    std::map<char, long> expected;
    for (size_t i = 0; i < beats.size(); ++i) ++expected[kRecord.labels[i % kRecord.labels.size()]];
    for (const char* key : {"N", "S", "V"}) EXPECT_EQ(jsonNumber(info, key), expected[key[0]]) << key;
    EXPECT_EQ(jsonNumber(info, "startTick"), (9 * 3600 + 30 * 60) * 50);
    EXPECT_NE(info.find("\"patient\": \"M\xc3\xbcller\""), std::string::npos) << info;
    EXPECT_NE(info.find("\"startDate\": \"2023-11-05\""), std::string::npos) << info;
    Recording recording(dir.path("home") + "/");
    recording.beats().load(recording);
    ASSERT_EQ(recording.beats().size(), beats.size());
    for (size_t i = 0; i < beats.size(); ++i)
        EXPECT_NEAR(recording.beats()[i].positionQuarterTicks(), beats[i], 1.0) << i;
}

}  // namespace
}  // namespace lumen
