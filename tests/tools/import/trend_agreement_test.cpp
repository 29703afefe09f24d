// SPDX-License-Identifier: GPL-3.0-or-later
// Every annotated record of the shared data, imported: its heart-rate table
// and extremes are the ones the viewer derives from the same beats.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_home.h"
#include "support/trend_agreement.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

TEST(ImportedTrends, EveryAnnotatedSharedRecordAgreesWithItsBeats) {
    const auto folder = physionetFolder();
    if (folder.empty()) GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    std::vector<std::filesystem::path> records;
    for (const char* database : {"mitdb", "svdb"})
        for (const auto& entry : std::filesystem::directory_iterator(folder / database))
            if (entry.path().extension() == ".atr") records.push_back(entry.path().parent_path() / entry.path().stem());
    std::sort(records.begin(), records.end());
    ASSERT_GE(records.size(), 23u);
    testing::TempHome scratch;
    for (const auto& record : records) {
        const std::string home = scratch.path(record.filename().string());
        const ToolRun imported = runHolter("import " + record.string() + " " + home);
        ASSERT_EQ(imported.status, 0) << imported.out;
        testing::expectTrendsAgreeWithTheirBeats(home + "/");
    }
}

}  // namespace
}  // namespace lumen
