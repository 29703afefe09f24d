// Real PhysioNet records made into recordings: every annotated beat arrives
// with its class and within one sample, and the episode rows hold what the
// reference annotations show, counted here from the .atr on its own.
#include <gtest/gtest.h>

#include <regex>

#include "store/recording.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

struct RecordCase {
    const char* path;  // below physionet/
    double frequencyHz;
    const char* mustShow;  // what must not be empty (VRUN and SVRUN: with the tachycardias)
};

constexpr RecordCase kRecords[] = {
    {"mitdb/100", 360, ""},        {"mitdb/102", 360, ""},        {"mitdb/103", 360, ""},
    {"mitdb/104", 360, ""},        {"mitdb/105", 360, ""},        {"mitdb/106", 360, "VBIG VRUN"},
    {"mitdb/107", 360, ""},        {"mitdb/108", 360, ""},        {"mitdb/208", 360, "VCPL"},
    {"svdb/800", 128, "SVISO"},
};

void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.path; }

// The documented mapping, written out again: N S V A per WFDB mnemonic.
char classOf(char m) {
    if (std::string_view("NLRejnB/f").find(m) != std::string_view::npos) return 'N';
    if (std::string_view("aJAS").find(m) != std::string_view::npos) return 'S';
    if (std::string_view("VEFr").find(m) != std::string_view::npos) return 'V';
    if (std::string_view("Q|").find(m) != std::string_view::npos) return 'A';
    return 0;
}

// Maximal runs of one class with a length in [low, high].
long runs(const std::string& classes, char c, size_t low, size_t high) {
    long count = 0;
    for (size_t i = 0; i < classes.size();) {
        size_t n = 0;
        while (i + n < classes.size() && classes[i + n] == c) ++n;
        count += n >= low && n <= high;
        i += n > 0 ? n : 1;
    }
    return count;
}

long matches(const std::string& classes, const std::regex& pattern) {
    return std::distance(std::sregex_iterator(classes.begin(), classes.end(), pattern), std::sregex_iterator());
}

class WfdbImport : public ::testing::TestWithParam<RecordCase> {};

TEST_P(WfdbImport, BeatsAndEpisodesMatchTheReferenceAnnotations) {
    const auto folder = physionetFolder();
    if (folder.empty()) GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    const RecordCase& c = GetParam();
    testing::TempHome scratch;
    const std::string home = scratch.path("imported");
    const ToolRun imported = runHolter("import " + (folder / c.path).string() + " " + home);
    ASSERT_EQ(imported.status, 0) << imported.out;
    const ToolRun info = runHolter("info --home " + home);
    ASSERT_EQ(info.status, 0) << info.out;

    std::string classes;
    std::vector<int64_t> samples;
    for (const AtrEntry& a : readAtr(folder / (std::string(c.path) + ".atr"))) {
        if (classOf(a.mnemonic) == 0) continue;
        classes += classOf(a.mnemonic);
        samples.push_back(a.sample);
    }
    for (const char* key : {"N", "S", "V", "A"})
        EXPECT_EQ(jsonNumber(info.out, key), std::count(classes.begin(), classes.end(), key[0])) << key;

    Recording recording(home + "/");
    recording.beats().load(recording);
    std::vector<int32_t> positions;
    for (const BeatWord w : recording.beats().words())
        if (w.formCode() != 31) positions.push_back(static_cast<int32_t>(w.positionQuarterTicks()));
    ASSERT_EQ(positions.size(), samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_NEAR(positions[i] * c.frequencyHz / 200.0, static_cast<double>(samples[i]), 1.0) << "beat " << i;

    const long couplets = runs(classes, 'V', 2, 2);
    const long vRuns = runs(classes, 'V', 3, SIZE_MAX);
    const long bigeminy = matches(classes, std::regex("(NV){3,}(?!V)"));  // as the rules define it
    const long svRuns = runs(classes, 'S', 3, SIZE_MAX);
    const long svIsolated = runs(classes, 'S', 1, 1);
    const std::regex bigeminyPattern("(NV){3,}(?!V)");
    long bigeminyBeats = 0;
    for (auto m = std::sregex_iterator(classes.begin(), classes.end(), bigeminyPattern); m != std::sregex_iterator(); ++m)
        bigeminyBeats += m->length() / 2;
    EXPECT_EQ(jsonNumber(info.out, "VISO"), runs(classes, 'V', 1, 1) - bigeminyBeats);
    EXPECT_EQ(jsonNumber(info.out, "SVISO"), svIsolated);
    EXPECT_EQ(jsonNumber(info.out, "VCPL"), couplets);
    EXPECT_EQ(jsonNumber(info.out, "VRUN") + jsonNumber(info.out, "VTCH"), vRuns);
    EXPECT_EQ(jsonNumber(info.out, "VBIG"), bigeminy);
    EXPECT_EQ(jsonNumber(info.out, "SVCPL"), runs(classes, 'S', 2, 2));
    EXPECT_EQ(jsonNumber(info.out, "SVRUN") + jsonNumber(info.out, "SVTCH"), svRuns);
    const std::string must = " " + std::string(c.mustShow) + " ";
    const std::pair<const char*, long> shown[] = {
        {" VBIG ", bigeminy}, {" VRUN ", vRuns}, {" VCPL ", couplets}, {" SVRUN ", svRuns}, {" SVISO ", svIsolated}};
    for (const auto& [row, count] : shown) {
        if (must.find(row) != std::string::npos) {
            EXPECT_GT(count, 0) << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PhysioNet, WfdbImport, ::testing::ValuesIn(kRecords),
                         [](const auto& info) {
                             std::string name = info.param.path;
                             return name.substr(name.find('/') + 1);
                         });

}  // namespace
}  // namespace lumen
