// SPDX-License-Identifier: GPL-3.0-or-later
// Real PhysioNet records made into recordings: every annotated beat arrives
// with its class and within one sample, and the episode rows hold what the
// reference annotations show, counted here from the .atr on its own.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "import/wfdb/wfdb_annotations.h"
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
    const std::regex bigeminyPattern("(NV){3,}(?!V)");  // as the rules define it
    long bigeminy = 0, bigeminyBeats = 0;
    for (auto m = std::sregex_iterator(classes.begin(), classes.end(), bigeminyPattern); m != std::sregex_iterator(); ++m)
        ++bigeminy, bigeminyBeats += m->length() / 2;
    const long svRuns = runs(classes, 'S', 3, SIZE_MAX);
    const long svIsolated = runs(classes, 'S', 1, 1);
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

// EDF+ out and in again gives the same beats and episodes; a WFDB export
// carries the labels as the physician corrected them.
TEST(ImportExport, RecordsLeaveWithTheirBeatsAndCorrections) {
    const auto folder = physionetFolder();
    if (folder.empty()) GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    testing::TempHome scratch;
    const std::string home = scratch.path("h208");
    ASSERT_EQ(runHolter("import " + (folder / "mitdb/208").string() + " " + home).status, 0);
    ASSERT_EQ(runHolter("export --home " + home + " --edf " + scratch.path("208.edf")).status, 0);
    ASSERT_EQ(runHolter("import " + scratch.path("208.edf") + " " + scratch.path("again")).status, 0);
    const std::string before = runHolter("info --home " + home).out;
    const std::string after = runHolter("info --home " + scratch.path("again")).out;
    for (const char* key : {"total", "N", "S", "V", "A", "episodes", "VISO", "VCPL", "VRUN", "VBIG", "VTCH", "SVISO",
                            "SVCPL", "SVRUN", "SVTCH", "PAUSE", "Artefact", "Lead off"})
        EXPECT_EQ(jsonNumber(after, key), jsonNumber(before, key)) << key;

    // The physician calls every third ventricular beat normal; the recording
    // is one of amplitude code 1, 13 units a millivolt.
    Recording recording(home + "/");
    const auto place = recording.directory().find(SectionId::Beats);
    const auto patient = recording.directory().find(SectionId::Patient);
    ASSERT_TRUE(place.has_value() && patient.has_value());
    recording.closeFile();
    std::fstream file(home + "/recording/holter.mem", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(patient->offset + kPatientAmplitudeOffset);
    file.put(1);
    std::string expected;
    int ventricular = 0;
    for (uint32_t at = place->offset; at < place->offset + place->length; at += 4) {
        uint8_t word[4];
        file.seekg(at);
        file.read(reinterpret_cast<char*>(word), 4);
        const int beatClass = (word[3] >> 1) & 3;
        const bool relabel = beatClass == 2 && ventricular++ % 3 == 0;
        if (relabel) {
            word[3] &= static_cast<uint8_t>(~0x06);
            file.seekp(at);
            file.write(reinterpret_cast<const char*>(word), 4);
        }
        if ((word[3] >> 3) != 31) expected += "NSVQ"[relabel ? 0 : beatClass];
    }
    file.close();
    ASSERT_EQ(runHolter("export --home " + home + " --wfdb " + scratch.path("w208")).status, 0);
    std::ifstream atr(scratch.path("w208/w208.atr"), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(atr)), std::istreambuf_iterator<char>());
    std::string labels;
    for (const WfdbAnnotation& a : WfdbAnnotations::parse(bytes, "w208.atr")) labels += WfdbAnnotations::mnemonic(a.code);
    EXPECT_EQ(labels, expected);
    EXPECT_GT(ventricular, 300);
    std::ifstream header(scratch.path("w208/w208.hea"));
    std::string recordLine, signalFile, format, gain;
    std::getline(header, recordLine);
    header >> signalFile >> format >> gain;
    EXPECT_EQ(gain.substr(0, gain.find_first_of("(/")), "13") << gain;
}

INSTANTIATE_TEST_SUITE_P(PhysioNet, WfdbImport, ::testing::ValuesIn(kRecords),
                         [](const auto& info) {
                             std::string name = info.param.path;
                             return name.substr(name.find('/') + 1);
                         });

}  // namespace
}  // namespace lumen
