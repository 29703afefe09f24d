// SPDX-License-Identifier: GPL-3.0-or-later
// A damaged holter.mem never crashes the tools or the viewer: what lies
// outside the file reads as zeros, a section that cannot be found leaves
// the reader at the place selected before, and the viewer still opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "store/beat_word.h"
#include "store/recording_writer.h"
#include "tools/malformed_home.h"

namespace lumen::testing {
namespace {

// Browses, relabels and removes an event, so that every pane paints the
// damaged recording and the corrections are written back at exit.
constexpr const char* kBrowsing =
    "key Right\nkey Down\nkey V\nkey Right\nbutton 2014\nbutton 2002\nrclick 600 400\n"
    "key Delete\nkey Up\nkey Right\nkey N\nbutton 2011\nbutton 2012\n";
// Everything a reader does without correcting: steps, rows, zoom, speed,
// amplitude, a measurement.
constexpr const char* kLooking =
    "key Right\nkey Down\nkey Right\nbutton 2014\nbutton 2013\nrclick 600 400\nkey Up\nbutton 2011\n"
    "button 2012\npress 300 560\nmove 420 560\nrelease 420 560\nkey PageDown\nclick 500 150\n";

struct Damage {
    const char* name;
    std::function<void(const MalformedHome&)> apply;
    std::vector<std::string> info;  // fragments of `holter info`
    std::string decodeHead;         // the first two lines of `holter decode 0`
    int eventLines;                 // lines of `holter events`
};

void setCount(const MalformedHome& home, uint8_t count) {
    std::vector<uint8_t> bytes = home.image();
    bytes[0] = count;
    home.setImage(bytes);
}

void renumber(const MalformedHome& home, uint8_t id, uint8_t newId) {
    std::vector<uint8_t> bytes = home.image();
    bytes[home.entry(id).at] = newId;
    home.setImage(bytes);
}

void setAmplitude(const MalformedHome& home, uint8_t code) {
    home.editSection(1, [code](std::span<uint8_t> patient) { patient[100] = code; });
}

const std::string kNoSection = "\"blocks\": 0, \"startClock\": \"00:00:00\", \"startTick\": 0, \"amplitudeCode\": 0";
const std::string kNoBeats = "\"beats\": {\"total\": 0, \"N\": 0, \"S\": 0, \"V\": 0, \"A\": 0, \"noForm\": 0}";
const std::string kAllBeats =
    "\"beats\": {\"total\": 4229, \"N\": 4089, \"S\": 36, \"V\": 35, \"A\": 25, \"noForm\": 44}";
const std::string kDemoStart = "\"blocks\": 360, \"startClock\": \"08:03:00\", \"startTick\": 1450350";
const std::string kFlat = "block 0 25:00:00\n128 128\n";
const std::string kDemoBlock = "block 0 08:03:00\n130 125\n";
const std::string kEmptyBlock = "block 0 08:03:00\n0 0\n";

const Damage kDamages[] = {
    {"EmptyFile", [](auto& h) { h.cutAt(0); }, {kNoSection, kNoBeats, "\"patient\": \"\""}, kFlat, 4},
    // The markers' entry is cut off: their lookup reads the place selected before (120 "markers").
    {"CutInsideTheDirectory", [](auto& h) { h.cutAt(100); }, {kNoSection, kNoBeats, "\"Manual\": 120"}, kFlat, 124},
    {"CutBeforeTheEditCounter",
     [](auto& h) { h.cutAt(516); },
     {"\"blocks\": 360, \"startClock\": \"00:00:00\"", kNoBeats, "\"episodes\": 24"},
     "block 0 00:00:00\n2 0\n",
     6},
    {"CutInsideTheBeats",
     [](auto& h) { h.cutAt(h.entry(21).offset + 4 * 100 + 2); },
     {kDemoStart, "\"beats\": {\"total\": 100,", "\"episodes\": 24"},
     kEmptyBlock,
     34},
    {"CutInsideTheSignal",
     [](auto& h) { h.cutAt(h.entry(24).offset + 1000); },
     {kDemoStart, kAllBeats},
     kDemoBlock,
     78},
    {"DirectoryCountAbove25",
     [](auto& h) { setCount(h, 26); },
     {kNoSection, kNoBeats, "\"patient\": \"\\u001a\\u0001\""},
     kFlat,
     4},
    {"DirectoryCountZero", [](auto& h) { setCount(h, 0); }, {kNoSection, kNoBeats, "\"patient\": \"\""}, kFlat, 4},
    {"BeatsPastTheEnd", [](auto& h) { h.setEntry(21, {}, 0xFFFFFF); }, {kDemoStart, kNoBeats}, kDemoBlock, 34},
    {"BeatsLongerThanTheFile", [](auto& h) { h.setEntry(21, 0xFFFFFF, {}); }, {kDemoStart}, kDemoBlock, 1317},
    {"EpisodesPastTheEnd",
     [](auto& h) { h.setEntry(19, {}, 0xFFFFFF); },
     {"\"episodes\": 24", "\"VISO\": 0, \"VCPL\": 0"},
     kDemoBlock,
     50},
    {"EpisodesLongerThanTheFile",
     [](auto& h) { h.setEntry(19, 0xFFFFFF, {}); },
     {"\"episodes\": 1398101"},
     kDemoBlock,
     11904},
    // A megabyte of markers: the full 24-bit length (5592405 of them) reads
    // the same way, only slower.
    {"MarkersLongerThanTheFile",
     [](auto& h) { h.setEntry(20, 0x0FFFFF, {}); },
     {"\"markers\": 349525"},
     kDemoBlock,
     349601},
    // The time line's span counts 500 ticks per heart-rate byte.
    {"HeartRatesLongerThanTheFile",
     [](auto& h) { h.setEntry(2, 0xFFFFFF, {}); },
     {"\"trendBlocks\": 360"},
     kDemoBlock,
     78},
    {"TrendsPastTheEnd", [](auto& h) { h.setEntry(9, {}, 0xFFFFFF); }, {"\"trendBlocks\": 360"}, kDemoBlock, 78},
    {"ClockPastTheEnd",
     [](auto& h) { h.setEntry(13, {}, 0xFFFFFF); },
     {"\"startClock\": \"00:00:00\", \"startTick\": 0"},
     "block 0 00:00:00\n130 125\n",
     78},
    {"PatientPastTheEnd",
     [](auto& h) { h.setEntry(1, {}, 0xFFFFFF); },
     {"\"amplitudeCode\": 0, \"patient\": \"\""},
     kDemoBlock,
     78},
    {"BlockIndexPastTheEnd",
     [](auto& h) { h.setEntry(18, {}, 0xFFFFFF); },
     {kDemoStart},
     "block 0 08:03:00\n2 0\n",
     78},
    {"BlockOffsetsPastTheEnd",
     [](auto& h) {
         h.editSection(18, [](std::span<uint8_t> index) {
             for (size_t at = 0; at + 3 <= index.size(); at += 3) writeU24(index, at, 0xFFFFFF);
         });
     },
     {kDemoStart},
     kEmptyBlock,
     78},
    // The lookup fails and the clock section stays selected: its 12 bytes are 4 block offsets.
    {"NoBlockIndex", [](auto& h) { renumber(h, 18, 99); }, {"\"blocks\": 4,"}, kEmptyBlock, 78},
    {"EmptyBeatList",
     [](auto& h) { h.editBeats([](auto& words) { words.clear(); }); },
     {kDemoStart, kNoBeats},
     kDemoBlock,
     34},
    {"BeatsOutOfOrder",
     [](auto& h) { h.editBeats([](auto& words) { std::reverse(words.begin(), words.end()); }); },
     {kAllBeats},
     kDemoBlock,
     78},
    {"AllBeatsOnOneSample",
     [](auto& h) {
         h.editBeats([](auto& words) {
             for (uint32_t& w : words) w = (w & ~0x1FFFFFFu) | 4000u;
         });
     },
     {kAllBeats},
     kDemoBlock,
     78},
    {"BeatsFarPastTheRecording",
     [](auto& h) {
         h.editBeats([](auto& words) {
             for (uint32_t& w : words) w |= 0x1FFFFFFu;
         });
     },
     {kAllBeats},
     kDemoBlock,
     78},
    {"EpisodesEndBeforeStart",
     [](auto& h) {
         h.editEpisodes(
             [](std::span<uint8_t, 12> r) { std::swap_ranges(r.begin() + 4, r.begin() + 7, r.begin() + 7); });
     },
     {"\"VISO\": 7, \"VCPL\": 1, \"VRUN\": 1"},
     kDemoBlock,
     78},
    {"EpisodesFarPastTheRecording",
     [](auto& h) { h.editEpisodes([](std::span<uint8_t, 12> r) { std::fill(r.begin() + 4, r.begin() + 10, 0xFF); }); },
     {"\"VISO\": 7"},
     kDemoBlock,
     78},
    {"UnknownEpisodeCodes",
     [](auto& h) { h.editEpisodes([](std::span<uint8_t, 12> r) { r[10] = 100; }); },
     {"\"episodes\": 24", "\"VISO\": 0,", "\"To printer\": 4"},
     kDemoBlock,
     54},
    {"EpisodeClockOutOfRange",
     [](auto& h) { h.editEpisodes([](std::span<uint8_t, 12> r) { std::fill(r.begin() + 1, r.begin() + 4, 0xFF); }); },
     {"\"VISO\": 7"},
     kDemoBlock,
     78},
    // Printed as stored; the block clocks wrap past midnight once.
    {"StartClockOutOfRange",
     [](auto& h) { h.editSection(13, [](std::span<uint8_t> c) { std::fill(c.begin() + 3, c.begin() + 6, 0xFF); }); },
     {"\"startClock\": \"255:255:00\""},
     "block 0 03:15:00\n130 125\n",
     78},
    {"AmplitudeCode255", [](auto& h) { setAmplitude(h, 255); }, {"\"amplitudeCode\": 255"}, kDemoBlock, 78},
    {"PatientLineWithoutBreak",
     [](auto& h) { h.editSection(1, [](std::span<uint8_t> p) { std::fill(p.begin(), p.begin() + 100, 'X'); }); },
     {"\"patient\": \"" + std::string(99, 'X') + "\""},
     kDemoBlock,
     78},
    // No block left to search: both ST extremes stand on block -1.
    {"TrendsAllExcluded",
     [](auto& h) { h.editSection(9, [](std::span<uint8_t> flags) { std::fill(flags.begin(), flags.end(), 0xFF); }); },
     {"\"STmin\": 1, \"STmax\": 1"},
     kDemoBlock,
     78},
};

// Named by the case, not printed byte by byte (padding is never initialised).
void PrintTo(const Damage& value, std::ostream* out) { *out << value.name; }

class RecordingDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(RecordingDamage, ToolsReadWhatIsThereAndTheViewerStillOpens) {
    const Damage& damage = GetParam();
    MalformedHome home;
    damage.apply(home);
    const std::vector<uint8_t> damaged = home.image();
    const LumenRun looking = runLumen(home, kLooking);
    EXPECT_EQ(looking.status, 255) << looking.err;
    EXPECT_EQ(home.image(), damaged) << "a session without corrections wrote into the recording";

    const ToolRun info = runHolter(home, "info --home " + home.programDirectory());
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.err, "");
    for (const std::string& fragment : damage.info)
        EXPECT_NE(info.out.find(fragment), std::string::npos) << fragment << "\n" << info.out;

    const ToolRun decode = runHolter(home, "decode --home " + home.programDirectory() + " 0");
    EXPECT_EQ(decode.status, 0) << decode.err;
    EXPECT_EQ(decode.out.substr(0, damage.decodeHead.size()), damage.decodeHead);
    EXPECT_EQ(std::count(decode.out.begin(), decode.out.end(), '\n'), 501);

    const ToolRun events = runHolter(home, "events --home " + home.programDirectory());
    EXPECT_EQ(events.status, 0) << events.err;
    EXPECT_EQ(std::count(events.out.begin(), events.out.end(), '\n'), damage.eventLines);

    const ToolRun report = runHolter(home, "report --home " + home.programDirectory() + " --pdf " +
                                               home.path("study.pdf") + " --json " + home.path("study.json"));
    EXPECT_TRUE(home.exists("study.json"));
#ifdef _WIN32
    // Windows writes PDF files through a PDF printer, which Wine lacks.
    if (report.status != 0) EXPECT_NE(report.err.find("no PDF printer is installed"), std::string::npos) << report.err;
#else
    EXPECT_EQ(report.status, 0) << report.err;
#endif
    EXPECT_EQ(home.image(), damaged) << "the report wrote into the recording";

    const LumenRun viewer = runLumen(home, std::string(kBrowsing) + "dump " + home.path("dump.json") + "\n");
    EXPECT_EQ(viewer.status, 255);
    EXPECT_EQ(viewer.err, "");
    EXPECT_EQ(dumpValue(viewer.dump, "messageBox"), "null");
}

INSTANTIATE_TEST_SUITE_P(HolterMem, RecordingDamage, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

// Signal blocks built code by code, where the exact samples are known.
class DamagedSignal : public ::testing::Test {
protected:
    void SetUp() override {
        home.writeCodeTable(table);
        home.writePathFile();
        RecordingWriter writer(table);
        writer.setSection(SectionId::RecordingClock, {0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0});
        for (int b = 0; b < 2; ++b) {
            for (size_t i = 0; i < 500; ++i) {
                channel1[b][i] = static_cast<uint8_t>(100 + 10 * b + i % 9);
                channel2[b][i] = static_cast<uint8_t>(160 - i % 5);
            }
            writer.addBlock(channel1[b], channel2[b]);
        }
        image = writer.build();
        blockIndex = readU24(image, 1 + 16 * 17 + 9);
    }

    // The file offset of block b's channel-1 record.
    size_t recordOf(int block) const { return readU24(image, blockIndex + 3 * static_cast<size_t>(block)) + 9; }

    std::vector<std::string> decodedLines(const std::string& blocks) {
        home.writeFile(home.recordingPath("holter.mem"), image);
        const ToolRun run = runHolter(home, "decode --home " + home.programDirectory() + " " + blocks);
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> lines;
        for (size_t at = 0, next = 0; (next = run.out.find('\n', at)) != std::string::npos; at = next + 1) {
            lines.push_back(run.out.substr(at, next - at));
        }
        return lines;
    }

    static std::string line(uint8_t a, uint8_t b) { return std::to_string(a) + " " + std::to_string(b); }

    TempHome home;
    CodeTable table = flatCodeTable();
    std::array<std::array<uint8_t, 500>, 2> channel1{};
    std::array<std::array<uint8_t, 500>, 2> channel2{};
    std::vector<uint8_t> image;
    size_t blockIndex = 0;
};

TEST_F(DamagedSignal, BitCountFarBeyondTheDataKeepsTheFirst500SamplesAndLooksForChannel2BehindIt) {
    image[recordOf(0)] = 0xFF;
    image[recordOf(0) + 1] = 0xFF;
    image.resize(recordOf(1) + 2);  // nothing behind the record but zeros
    const auto lines = decodedLines("0");
    ASSERT_EQ(lines.size(), 501u);
    for (size_t i = 0; i < 500; ++i) EXPECT_EQ(lines[1 + i], line(channel1[0][i], 0)) << i;
}

TEST_F(DamagedSignal, AnOversizedChannel1RecordHasChannel2DirectlyBehindTheBytesRead) {
    // Block 1 again at the end of the file: channel 1 claims 7000 bits, of
    // which 796 bytes are read, and channel 2 stands right behind them.
    const size_t record1 = recordOf(1);
    const size_t bits1 = image[record1] | (image[record1 + 1] << 8);
    const size_t record2 = record1 + 3 + bits1 / 8 + 1;
    const size_t bits2 = image[record2] | (image[record2 + 1] << 8);
    std::vector<uint8_t> moved(image.begin() + static_cast<ptrdiff_t>(record1) - 9,
                               image.begin() + static_cast<ptrdiff_t>(record2));
    moved[9] = 7000 & 0xFF;
    moved[10] = 7000 >> 8;
    moved.resize(9 + 3 + 796, 0);
    moved.insert(moved.end(), image.begin() + static_cast<ptrdiff_t>(record2),
                 image.begin() + static_cast<ptrdiff_t>(record2 + 3 + bits2 / 8 + 1));
    writeU24(image, blockIndex + 3, static_cast<uint32_t>(image.size()));
    image.insert(image.end(), moved.begin(), moved.end());
    const auto lines = decodedLines("1");
    ASSERT_EQ(lines.size(), 501u);
    for (size_t i = 0; i < 500; ++i)
        EXPECT_EQ(lines[1 + i].substr(lines[1 + i].find(' ') + 1), std::to_string(channel2[1][i])) << i;
}

}  // namespace
}  // namespace lumen::testing
