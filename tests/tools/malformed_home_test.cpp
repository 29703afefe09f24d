// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are missing, unreadable or broken beyond reading end the tools
// and the viewer with their one-line message and status 255, at the moment
// the file is first needed.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "platform/file/file_lock.h"
#include "store/recording_file.h"
#include "tools/malformed_home.h"

namespace lumen::testing {
namespace {

// Who needs the file: every tool reads the recording and the code table,
// only the decoder reads codes, only the viewer reads its own settings and,
// when a beat without a form is relabelled, the beat forms.
enum class Reader { EveryProgram, Decoder, Viewer };

struct Fatal {
    std::string name;
    std::function<void(const MalformedHome&)> apply;
    std::string message;  // {home} and {rec} stand for the two folders
    Reader reader;
};

void removeFile(const MalformedHome& home, const std::string& name) { std::filesystem::remove(home.path(name)); }

void replaceByPipe(const MalformedHome& home, const std::string& name) {
#ifdef _WIN32
    (void)home, (void)name;
    GTEST_SKIP() << "a FIFO in the file system is POSIX";
#else
    removeFile(home, name);
    mkfifo(home.path(name).c_str(), 0600);
#endif
}

std::string codeLine(int value, int length, int code) {
    return std::to_string(value) + " " + std::to_string(length) + " " + std::to_string(code) + "\n";
}

std::string withFolders(std::string text, const MalformedHome& home) {
    for (size_t at = text.find("{home}"); at != std::string::npos; at = text.find("{home}")) {
        text.replace(at, 6, home.programDirectory());
    }
    for (size_t at = text.find("{rec}"); at != std::string::npos; at = text.find("{rec}")) {
        text.replace(at, 5, home.recordingDirectory());
    }
    return text;
}

const std::string kRecordingMissing = "File not found \"{rec}/holter.mem\" !";
const std::string kTableMissing = "File not found \"huffman.ko2\" !";
const std::string kTableError = "File error \"huffman.ko2\" !";
const std::string kNoRecordingFolder = "File not found \"/holter.mem\" !";
const std::string kExtracting = "Error while extracting!";

// Each of these files, missing or a folder in its place.
const struct {
    const char* file;
    const char* name;
    std::string message;
    Reader reader;
} kNeededFiles[] = {
    {"recording/holter.mem", "HolterMem", kRecordingMissing, Reader::EveryProgram},
    {"huffman.ko2", "CodeTable", kTableMissing, Reader::EveryProgram},
    {"path.tmp", "PathFile", "File not found \"{home}path.tmp\" !", Reader::EveryProgram},
    {"color.ini", "ColorFile", "File not found \"color.ini\" !", Reader::Viewer},
    {"TBcolor.ini", "GridColorFile", "File not found \"TBcolor.ini\" !", Reader::Viewer},
    {"doef.mem", "HandOverFile", "File not found '{home}doef.mem' !", Reader::Viewer},
    {"recording/forms.mem", "FormsFile", "File not found \"{rec}/forms.mem\" !", Reader::Viewer},
};

const Fatal kDamagedFiles[] = {
    {"CodeTableCutShort", [](auto& h) { h.write("huffman.ko2", h.text("huffman.ko2").substr(0, 3000)); },
     kTableError, Reader::EveryProgram},
    {"CodeTableWithoutFinalLineBreak",
     [](auto& h) {
         std::string table = h.text("huffman.ko2");
         h.write("huffman.ko2", table.substr(0, table.find_last_not_of('\n') + 1));
     },
     kTableError, Reader::EveryProgram},
    {"CodeTableEmpty", [](auto& h) { h.write("huffman.ko2", ""); }, kTableError, Reader::EveryProgram},
    // Refused like every program file that is not a plain file; a pipe would never be written.
    {"PathFileIsAPipe", [](auto& h) { replaceByPipe(h, "path.tmp"); }, "File not found \"{home}path.tmp\" !",
     Reader::EveryProgram},
    {"HolterMemIsAPipe", [](auto& h) { replaceByPipe(h, "recording/holter.mem"); }, kRecordingMissing,
     Reader::EveryProgram},
    // Nothing of a recording lies past 32 MiB: a 3 GB file is not read at all.
    {"HolterMemOfThreeGigabytes",
     [](auto& h) { std::filesystem::resize_file(h.recordingPath("holter.mem"), uint64_t{3} << 30); },
     kRecordingMissing, Reader::EveryProgram},
    {"PathFileEmpty", [](auto& h) { h.write("path.tmp", ""); }, kNoRecordingFolder, Reader::EveryProgram},
    {"PathFileOnlyBlanks", [](auto& h) { h.write("path.tmp", "   \n"); }, kNoRecordingFolder, Reader::EveryProgram},
    {"PathNamesAMissingFolder", [](auto& h) { h.write("path.tmp", h.path("gone") + "\n"); },
     "File not found \"{home}gone/holter.mem\" !", Reader::EveryProgram},
    {"PathWithABlankIsCutThere", [](auto& h) { h.write("path.tmp", h.path("my recording") + "\n"); },
     "File not found \"{home}my/holter.mem\" !", Reader::EveryProgram},
    {"EveryCodeLongerThan12Bits", [](auto& h) { h.editCodeTable([](int, int v, int, int) { return codeLine(v, 13, 0); }); },
     kExtracting, Reader::Decoder},
    {"CodeLongerThan12BitsFirstInTheTable",
     [](auto& h) {
         h.editCodeTable([](int, int v, int n, int c) { return v == 255 ? codeLine(v, 13, 8191) : codeLine(v, n, c); });
     },
     kExtracting, Reader::Decoder},
    {"CodeLengthsOf99", [](auto& h) { h.editCodeTable([](int, int v, int, int c) { return codeLine(v, 99, c); }); },
     kExtracting, Reader::Decoder},
    // The scan stops at the first entry longer than the code + 1.
    {"CodesLongestFirst",
     [](auto& h) {
         std::string reversed;
         h.editCodeTable([&](int, int v, int n, int c) {
             reversed = codeLine(v, n, c) + reversed;
             return std::string();
         });
         h.write("huffman.ko2", reversed);
     },
     kExtracting, Reader::Decoder},
    // Fields that do not scan leave every entry zero.
    {"CodeTableOfWords", [](auto& h) { h.write("huffman.ko2", "value length code\n"); }, kExtracting,
     Reader::Decoder},
};

std::vector<Fatal> fatalCases() {
    std::vector<Fatal> cases(std::begin(kDamagedFiles), std::end(kDamagedFiles));
    for (const auto& needed : kNeededFiles) {
        const std::string file = needed.file;
        cases.push_back({needed.name + std::string("Missing"), [file](auto& h) { removeFile(h, file); },
                         needed.message, needed.reader});
        cases.push_back({needed.name + std::string("IsAFolder"), [file](auto& h) { h.replaceByFolder(file); },
                         needed.message, needed.reader});
    }
    return cases;
}

// Named by the case, not printed byte by byte (padding is never initialised).
void PrintTo(const Fatal& value, std::ostream* out) { *out << value.name; }

class FatalInput : public ::testing::TestWithParam<Fatal> {};

TEST_P(FatalInput, EndsWithItsMessageAndStatus255WhereTheFileIsNeeded) {
    const Fatal& fatal = GetParam();
    MalformedHome home;
    // Every beat without a form: relabelling the selected one needs forms.mem.
    home.editBeats([](auto& words) { for (uint32_t& w : words) w = (w & 0x1FFFFFFu) | (31u << 27); });
    fatal.apply(home);
    if (IsSkipped()) return;
    const std::string line = withFolders(fatal.message, home) + "\n";
    const std::string where = "--home " + home.programDirectory();

    for (const char* command : {"info", "events"}) {
        const ToolRun run = runHolter(home, std::string(command) + " " + where);
        const bool fails = fatal.reader == Reader::EveryProgram;
        EXPECT_EQ(run.status, fails ? 255 : 0) << command;
        EXPECT_EQ(run.err, fails ? line : "") << command;
        if (fails) {
            EXPECT_EQ(run.out, "") << command;
        }
    }
    const ToolRun decode = runHolter(home, "decode " + where + " 0 3");
    const bool decodeFails = fatal.reader != Reader::Viewer;
    EXPECT_EQ(decode.status, decodeFails ? 255 : 0);
    EXPECT_EQ(decode.err, decodeFails ? line : "");

    const LumenRun viewer = runLumen(home, "key V\ndump " + home.path("dump.json") + "\n");
    EXPECT_EQ(viewer.status, 255);
    EXPECT_EQ(viewer.err, line);
    EXPECT_EQ(viewer.dump, "");  // ended before the state dump
    if (!std::filesystem::is_directory(home.path("doef.mem"))) {
        const std::string handOver = home.text("doef.mem");
        EXPECT_EQ(std::count(handOver.begin(), handOver.end(), '\n'), 5) << "the hand-over is still written";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, FatalInput, ::testing::ValuesIn(fatalCases()),
                         [](const auto& info) { return info.param.name; });

TEST(FatalInput, FormsWithoutTemplatesLeaveTheRelabelledBeatWithoutAForm) {
    MalformedHome home;
    home.editBeats([](auto& words) { for (uint32_t& w : words) w = (w & 0x1FFFFFFu) | (31u << 27); });
    home.write("recording/forms.mem", std::string(1300, '\0'));
    const LumenRun viewer = runLumen(home, "key V\ndump " + home.path("dump.json") + "\n");
    EXPECT_EQ(viewer.status, 255);
    EXPECT_EQ(viewer.err, "");
    EXPECT_EQ(dumpValue(viewer.dump, "strip", "selectedClass"), "3");
    const ToolRun info = runHolter(home, "info --home " + home.programDirectory());
    // No template is form -1, label 252 in 8 bits; the beat word keeps five
    // form bits of it, 31: still a beat without a form.
    EXPECT_NE(info.out.find("\"beats\": {\"total\": 4229, \"N\": 0, \"S\": 0, \"V\": 0, \"A\": 0, \"noForm\": 4229}"),
              std::string::npos) << info.out;
}

// Sixteen million marker records, or a trend table for five million
// blocks, would take hundreds of megabytes: no recording needs that much.
TEST(FatalInput, SectionsClaimingMoreThanAnyRecordingNeedsAreRefused) {
    for (const uint8_t id : {20, 9}) {
        MalformedHome home;
        home.setEntry(id, 0xFFFFFF, {});
        const std::string line = withFolders(kRecordingMissing, home) + "\n";
        const ToolRun info = runHolter(home, "info --home " + home.programDirectory());
        EXPECT_EQ(info.status, 255) << int{id};
        EXPECT_EQ(info.err, line) << int{id};
        const LumenRun viewer = runLumen(home, "");
        EXPECT_EQ(viewer.status, 255) << int{id};
        EXPECT_EQ(viewer.err, line) << int{id};
    }
}

// The first block of the strip window that the viewer shows after `script`.
int32_t shownFirstBlock(const MalformedHome& home, const std::string& script) {
    const std::string handOver = home.text("doef.mem");
    const LumenRun run = runLumen(home, script + "dump " + home.path("dump.json") + "\n");
    home.write("doef.mem", handOver);  // the next run starts where this one did
    return static_cast<int32_t>(dumpNumber(run.dump, "strip", "windowStart") / 500);
}

// Every block outside `kept` gets a channel-1 record whose first bits are
// no code of the table: decoding it fails.
void breakBlocksBut(const MalformedHome& home, std::initializer_list<int32_t> kept) {
    std::vector<uint8_t> bytes = home.image();
    const MalformedHome::Entry index = home.entry(18);
    for (uint32_t block = 0; block < index.length / 3; ++block) {
        const bool keep = std::any_of(kept.begin(), kept.end(), [&](int32_t first) {
            return static_cast<int32_t>(block) >= first && static_cast<int32_t>(block) < first + 12;
        });
        if (keep) continue;
        const size_t record = readU24(bytes, index.offset + 3 * block) + 9;
        const uint8_t undecodable[16] = {100, 0, 128, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        std::copy(std::begin(undecodable), std::end(undecodable), bytes.begin() + static_cast<ptrdiff_t>(record));
    }
    home.setImage(bytes);
}

TEST(FatalInput, ABlockThatCannotBeDecodedKeepsTheCorrectionsMadeBeforeIt) {
    MalformedHome home;
    const int32_t start = shownFirstBlock(home, "");
    const int32_t next = shownFirstBlock(home, "key Up\n");
    ASSERT_TRUE(next >= start + 12 || next + 12 <= start) << "the next event must lie elsewhere";
    breakBlocksBut(home, {0, start});
    const std::vector<uint8_t> before = home.image();
    // The decoder's notice, then the fatal message: repaints under the
    // boxes must not decode the broken block again.
    const LumenRun viewer = runLumen(home, "key A\nkey Up\nanswer ok\nanswer ok\n");
    EXPECT_EQ(viewer.status, 255);
    EXPECT_EQ(viewer.err, "Error while extracting!\n");
    EXPECT_NE(home.image(), before) << "the relabelled beat was not saved";
    EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").find('\n') + 1, 2), "1\n");
    EXPECT_EQ(home.text("dore.mem"), "2");  // an artefact label
}

// Another program holds the recording while the viewer saves: nothing is
// written, the user is told why, and the hand-over says no label changed.
TEST(FatalInput, ASaveThatFailsHandsOverTheTruth) {
    MalformedHome home;
    const std::vector<uint8_t> before = home.image();
    std::FILE* holder = std::fopen(home.recordingPath("holter.mem").c_str(), "r+b");
    ASSERT_NE(holder, nullptr);
    ASSERT_TRUE(FileLock::lock(holder, kContentLockByte, LockMode::Exclusive, 0));
    const LumenRun viewer = runLumen(home, "key A\nclose\nanswer ok\n");
    std::fclose(holder);
    EXPECT_EQ(viewer.status, 255);
    EXPECT_NE(viewer.err.find("The corrections could not be saved. Another program"), std::string::npos)
        << viewer.err;
    EXPECT_EQ(home.image(), before);
    EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").find('\n') + 1, 2), "0\n");
    EXPECT_FALSE(home.exists("dore.mem"));
}

}  // namespace
}  // namespace lumen::testing

namespace lumen::testing {
namespace {

// Settings files that are there but hold nothing usable: the viewer opens
// with what could be read and the defaults for the rest.
struct Settings {
    const char* name;
    const char* file;
    std::string content;
    int selectedRow;
    int pixelsPerSample;  // a value other than 1, 2 or 4 reads as 2
    int amplitudeStep;    // a value other than 1, 2 or 3 reads as 2
    std::string handedBack;  // doef.mem after the run, without its first line
};

const Settings kSettings[] = {
    {"HandOverEmpty", "doef.mem", "", 18, 2, 2, "0\n117\n2\n2\n"},
    {"HandOverOfWords", "doef.mem", "x y z", 18, 2, 2, "0\n117\n2\n2\n"},
    {"HandOverOutOfRange", "doef.mem", "2147483647 9 251 99 -7", 13, 2, 2, "0\n251\n2\n2\n"},
    {"HandOverZeros", "doef.mem", "-2147483648 0 103 0 0", 0, 2, 2, "0\n103\n2\n2\n"},
    {"HandOverSpeed3Amplitude0", "doef.mem", "0 0 103 3 0", 0, 2, 2, "0\n103\n2\n2\n"},
    {"HandOverLargestSettings", "doef.mem", "0 0 103 4 3", 0, 4, 3, "0\n103\n4\n3\n"},
    {"ColorFileEmpty", "color.ini", "", 4, 2, 2, "0\n108\n2\n2\n"},
    {"ColorFileOfGarbage", "color.ini", "\xff\xff\xff===,,,\nTAROLT_LANGUAGE = 99\n", 4, 2, 2,
     "0\n108\n2\n2\n"},
    {"GridColorFileEmpty", "TBcolor.ini", "", 4, 2, 2, "0\n108\n2\n2\n"},
};

// Named by the case, not printed byte by byte (padding is never initialised).
void PrintTo(const Settings& value, std::ostream* out) { *out << value.name; }

class SettingsDamage : public ::testing::TestWithParam<Settings> {};

TEST_P(SettingsDamage, ViewerOpensWithDefaultsForWhatCannotBeRead) {
    const Settings& settings = GetParam();
    MalformedHome home;
    home.write(settings.file, settings.content);
    const LumenRun viewer = runLumen(home, "dump " + home.path("dump.json") +
                                               "\nrclick 600 400\nkey Right\nkey Left\nbutton 2014\n");
    EXPECT_EQ(viewer.status, 255);
    EXPECT_EQ(viewer.err, "");
    EXPECT_EQ(dumpNumber(viewer.dump, "catalog", "selectedRow"), settings.selectedRow);
    EXPECT_EQ(dumpNumber(viewer.dump, "strip", "pixelsPerSample"), settings.pixelsPerSample);
    EXPECT_EQ(dumpNumber(viewer.dump, "strip", "amplitudeStep"), settings.amplitudeStep);
    EXPECT_EQ(dumpNumber(viewer.dump, "languageIndex"), 2);
    const std::string handOver = home.text("doef.mem");
    EXPECT_EQ(handOver.substr(handOver.find('\n') + 1), settings.handedBack);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsDamage, ::testing::ValuesIn(kSettings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumen::testing
