// SPDX-License-Identifier: GPL-3.0-or-later
// The holter tool from outside: its output keeps its documented form on any
// recording that follows the file formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "store/beat_word.h"
#include "store/recording_file.h"
#include "store/recording_writer.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

std::vector<uint8_t> bytesOf(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> bytes;
    for (const uint32_t w : words) {
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(w >> (8 * k)));
    }
    return bytes;
}

class HolterTool : public ::testing::Test {
protected:
    void SetUp() override {
        home.writeCodeTable(table);
        home.writePathFile();
        writeRecording("M\xfcller \"Hans\"\r\n");  // u-umlaut in Windows-1252
    }

    void writeRecording(const std::string& line) {
        RecordingWriter writer(table);
        std::vector<uint8_t> patient(101, 0);
        std::copy(line.begin(), line.end(), patient.begin());
        patient[100] = 3;
        writer.setSection(SectionId::Patient, patient);
        writer.setSection(SectionId::RecordingClock, {0, 0, 0, 37, 3, 8, 0, 0, 0, 0, 0, 0});
        writer.setSection(SectionId::TrendFlags, std::vector<uint8_t>(3, 0));
        writer.setSection(SectionId::Episodes, std::vector<uint8_t>(24, 0));
        writer.setSection(SectionId::Markers, std::vector<uint8_t>(9, 0));
        writer.setSection(
            SectionId::Beats,
            bytesOf({BeatWord::make(40, BeatClass::Normal, 0).raw, BeatWord::make(240, BeatClass::Ventricular, 1).raw,
                     BeatWord::make(440, BeatClass::Normal, 31).raw, BeatWord::make(640, BeatClass::Artefact, 0).raw}));
        for (int b = 0; b < 3; ++b) {
            std::array<uint8_t, 500> one;
            std::array<uint8_t, 500> two;
            for (int i = 0; i < 500; ++i) {
                one[i] = static_cast<uint8_t>(100 + b + (i % 7));
                two[i] = static_cast<uint8_t>(150 - (i % 5));
            }
            writer.addBlock(one, two);
        }
        ASSERT_TRUE(writer.writeFile(home.recordingPath("holter.mem")));
    }

    // The recording exported as a WFDB record: a source for `holter import`.
    std::string wfdbSource() {
        const std::string record = home.path("source");
        const ToolRun run = runHolter("export --home " + home.programDirectory() + " --wfdb " + record);
        EXPECT_EQ(run.status, 0) << run.out;
        return record + "/source";
    }

    std::filesystem::path keptRecordingFolder() const {
        for (const auto& entry : std::filesystem::directory_iterator(home.programDirectory())) {
            if (entry.path().filename().string().starts_with("recording.replaced-")) return entry.path();
        }
        return {};
    }

    testing::TempHome home;
    CodeTable table = testing::flatCodeTable();
};

// The old journal goes with the old recording, kept aside whole: it may
// hold the only copy of what a cut-short save overwrote.
TEST_F(HolterTool, DemoWritesOverAnExistingHomeOnlyWhenForcedAndKeepsTheOldJournalWithItsRecording) {
    const std::string recording = home.recordingPath("holter.mem");
    const std::vector<uint8_t> before = home.readFile(recording);
    home.writeText(recording + "-journal", "a journal of the recording there before");
    const std::string demo = "demo " + home.programDirectory() + " --hours 1";
    const ToolRun refused = runHolter(demo);
    EXPECT_EQ(refused.status, 255);
    EXPECT_NE(refused.out.find("--force"), std::string::npos) << refused.out;
    EXPECT_EQ(home.readFile(recording), before);
    const ToolRun forced = runHolter(demo + " --force");
    EXPECT_EQ(forced.status, 0) << forced.out;
    EXPECT_FALSE(std::filesystem::exists(recording + "-journal"));
    EXPECT_NE(home.readFile(recording), before);
    const std::filesystem::path kept = keptRecordingFolder();
    ASSERT_FALSE(kept.empty()) << forced.out;
    EXPECT_EQ(home.readFile((kept / "holter.mem").string()), before);
    EXPECT_TRUE(std::filesystem::exists(kept / "holter.mem-journal"));
    EXPECT_TRUE(std::filesystem::exists(kept / "huffman.ko2"));
}

// A viewer holds the recording (here mid-save): neither command may replace
// it, its journal or the home's hand-over files, and the save still lands.
TEST_F(HolterTool, ForcedDemoAndImportRefuseARecordingAViewerHasOpen) {
    const std::string source = wfdbSource();
    const std::string recording = home.recordingPath("holter.mem");
    RecordingFile viewer;
    ASSERT_EQ(viewer.open(recording, RecordingAccess::Session), OpenResult::Opened);
    const uint64_t at = viewer.size() - 1;
    const std::array<uint8_t, 1> corrected = {static_cast<uint8_t>(viewer.readU8(at) ^ 0xFF)};
    viewer.beginUpdate();
    ASSERT_TRUE(viewer.writeAt(at, corrected));
    for (const std::string& command : {"demo " + home.programDirectory() + " --hours 1 --force",
                                       "import " + source + " " + home.programDirectory() + " --force"}) {
        const ToolRun run = runHolter(command);
        EXPECT_EQ(run.status, 255) << command;
        const std::string named = std::filesystem::path(recording).make_preferred().string();
        EXPECT_NE(run.out.find("The recording " + named), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("close the viewer first"), std::string::npos) << run.out;
        EXPECT_TRUE(std::filesystem::exists(recording + "-journal")) << command;
        EXPECT_FALSE(std::filesystem::exists(home.path("doef.mem"))) << command;
    }
    ASSERT_TRUE(viewer.commitUpdate());
    viewer.close();
    EXPECT_EQ(home.readFile(recording).at(at), corrected[0]);
}

TEST_F(HolterTool, ForcedDemoAndImportReplaceOnlyAProgramHomesOwnFiles) {
    const std::string source = wfdbSource();
    const std::string patients = home.path("patients");
    std::filesystem::create_directories(patients + "/a/recording");
    home.writeText(patients + "/a/path.tmp", patients + "/a/recording\n");
    home.writeText(patients + "/notes.txt", "two homes");
    for (const std::string& command :
         {"demo " + patients + " --hours 1 --force", "import " + source + " " + patients + " --force"}) {
        const ToolRun run = runHolter(command);
        EXPECT_EQ(run.status, 255) << command;
        EXPECT_NE(run.out.find(patients + " is not a program home"), std::string::npos) << run.out;
        EXPECT_EQ(home.readText(patients + "/notes.txt"), "two homes");
        EXPECT_TRUE(std::filesystem::exists(patients + "/a/path.tmp"));
        EXPECT_FALSE(std::filesystem::exists(patients + "/huffman.ko2"));
    }
    const std::vector<uint8_t> before = home.readFile(home.recordingPath("holter.mem"));
    const ToolRun imported = runHolter("import " + source + " " + home.programDirectory() + " --force");
    ASSERT_EQ(imported.status, 0) << imported.out;
    EXPECT_EQ(home.readText(patients + "/notes.txt"), "two homes");
    EXPECT_TRUE(std::filesystem::exists(patients + "/a/path.tmp"));
    EXPECT_NE(home.readFile(home.recordingPath("holter.mem")), before);
    EXPECT_TRUE(keptRecordingFolder().empty()) << "a recording folder of holter.mem and forms.mem only goes";
}

TEST_F(HolterTool, ExportNeverWritesOverARecordingOrIntoItsFolder) {
    const std::string recording = home.recordingPath("holter.mem");
    std::filesystem::copy_file(recording, home.path("copy.dat"));
    const std::vector<uint8_t> before = home.readFile(recording);
    for (const std::string& target :
         {"--edf " + recording, "--edf " + recording + "-journal", "--edf " + home.recordingPath("out.edf"),
          "--edf " + home.path("copy.dat"), "--wfdb " + home.recordingDirectory()}) {
        const ToolRun run = runHolter("export --home " + home.programDirectory() + " " + target);
        EXPECT_EQ(run.status, 255) << target;
        EXPECT_NE(run.out.find("Will not export"), std::string::npos) << run.out;
        EXPECT_EQ(home.readFile(recording), before) << target;
        EXPECT_EQ(home.readFile(home.path("copy.dat")), before) << target;
        EXPECT_FALSE(std::filesystem::exists(home.recordingPath("out.edf")));
    }
}

TEST_F(HolterTool, AJournalThatKeepsTheRecordingFromOpeningIsNamedAsTheCause) {
    std::filesystem::create_directory(home.recordingPath("holter.mem-journal"));
    const ToolRun run = runHolter("info --home " + home.programDirectory());
    EXPECT_EQ(run.status, 255);
    EXPECT_NE(run.out.find(home.recordingPath("holter.mem-journal") + " cannot be read"), std::string::npos) << run.out;
}

TEST_F(HolterTool, InfoReportsTheRecordingAsJson) {
    const ToolRun run = runHolter("info --home " + home.programDirectory());
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"blocks\": 3"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"startClock\": \"08:03:00\""), std::string::npos);
    EXPECT_NE(run.out.find("\"startTick\": " + std::to_string((8 * 60 + 3) * 3000 + 37 * 50)), std::string::npos);
    EXPECT_NE(run.out.find("\"amplitudeCode\": 3"), std::string::npos);
    EXPECT_NE(run.out.find("\"patient\": \"M\xc3\xbcller \\\"Hans\\\"\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"beats\": {\"total\": 4, \"N\": 1, \"S\": 0, \"V\": 1, \"A\": 1, \"noForm\": 1}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"episodes\": 2, \"markers\": 3, \"trendBlocks\": 3"), std::string::npos);
    EXPECT_NE(run.out.find("(50.00%) / 1 (50.00%) / 0 (0.00%)"), std::string::npos);
}

TEST_F(HolterTool, InfoReadsThePatientLineInTheCodePageOfTheHomesLanguage) {
    struct Case {
        const char* colorIni;  // nullptr: no color.ini
        const char* line;
        const char* utf8;
    };
    const Case cases[] = {
        {"TAROLT_LANGUAGE = 1\n", "Gy\xf5z\xf5", "Gy\xc5\x91z\xc5\x91"},  // Windows-1250
        {"TAROLT_LANGUAGE = 11\n", "\xc8\xe2\xe0\xed\xee\xe2",
         "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\xd0\xbe\xd0\xb2"},             // Windows-1251
        {"TAROLT_LANGUAGE = 4\n", "Gy\xf5z\xf5", "Gy\xc3\xb5z\xc3\xb5"},  // Windows-1252
        {nullptr, "Gy\xf5z\xf5", "Gy\xc3\xb5z\xc3\xb5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::remove(home.path("color.ini").c_str());
        if (c.colorIni != nullptr) home.writeText(home.path("color.ini"), c.colorIni);
        writeRecording(std::string(c.line) + "\r\n");
        const ToolRun run = runHolter("info --home " + home.programDirectory());
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("\"patient\": \"" + std::string(c.utf8) + "\""), std::string::npos) << run.out;
    }
}

TEST_F(HolterTool, InfoTakesTheRecordingFolderFromTheCommandLine) {
    std::remove(home.path("path.tmp").c_str());
    EXPECT_EQ(runHolter("info --home " + home.programDirectory() + " " + home.recordingDirectory()).status, 0);
    const ToolRun run = runHolter("info --home " + home.programDirectory());
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.out, "File not found \"" + home.path("path.tmp") + "\" !\n");
}

TEST_F(HolterTool, DecodePrintsEachBlockWithItsClockAndFlatBlocksPastTheEnd) {
    const ToolRun run = runHolter("decode --home " + home.programDirectory() + " 2 2");
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.out.rfind("block 2 08:03:20\n102 150\n103 149\n", 0), 0u) << run.out.substr(0, 60);
    const size_t second = run.out.find("block 3 25:00:00\n128 128\n");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1002);
}

}  // namespace
}  // namespace lumen
