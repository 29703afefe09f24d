// ISHNE Holter files made here: the leads and beat annotations arrive, and a
// damaged header or a short ECG block is refused.
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

struct Damage {
    const char* name;
    size_t offset;  // byte changed in the .ecg, or the size it is cut to
    bool cut;
    int status;           // 255: refused; 0: imported with a warning
    const char* message;  // part of what the tool says
};

// Writers in the field leave the CRC unset and announce more samples than
// they wrote: a warning, and what is there is read. What cannot be read is
// refused, naming the file.
TEST(IshneImport, DamageIsRefusedOrWarnedAboutAsTheFieldsReadersDo) {
    const Damage damages[] = {
        {"magic", 0, false, 255, "not an ISHNE file"},
        {"cut inside the header", 300, true, 255, "ends inside its header"},
        {"header byte", 100, false, 0, "CRC does not match"},
        {"short ECG block", kIshneFixedHeaderEnd + 1000, true, 0, "samples per lead, the file holds"},
    };
    for (const Damage& d : damages) {
        testing::TempHome dir;
        testing::writeIshne(dir.path("rec"), kRecord);
        if (d.cut) {
            std::filesystem::resize_file(dir.path("rec.ecg"), d.offset);
            std::filesystem::remove(dir.path("rec.ann"));
        } else {
            std::fstream f(dir.path("rec.ecg"), std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(static_cast<long>(d.offset));
            f.put('#');
        }
        const ToolRun run = runHolter("import " + dir.path("rec.ecg") + " " + dir.path("home"));
        EXPECT_EQ(run.status, d.status) << d.name << ": " << run.out;
        EXPECT_NE(run.out.find(d.message), std::string::npos) << d.name << ": " << run.out;
        EXPECT_NE(run.out.find("rec.ecg"), std::string::npos) << d.name << ": " << run.out;
        EXPECT_EQ(std::filesystem::exists(dir.path("home")), d.status == 0) << d.name;
    }
}

}  // namespace
}  // namespace lumen
