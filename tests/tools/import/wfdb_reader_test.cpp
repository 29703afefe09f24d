// SPDX-License-Identifier: GPL-3.0-or-later
// The WFDB readers on records made here: every supported sample format,
// annotation files with their pseudo-codes, and sources the importer must
// refuse with a message, status 255 and no home left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_header.h"
#include "import/wfdb/wfdb_signal_reader.h"
#include "import/wfdb/wfdb_writer.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

using Bytes = std::vector<uint8_t>;

// Two interleaved signals, encoded in one format.
struct FormatCase {
    int format;
    std::function<Bytes(const std::vector<int>&)> encode;
};

Bytes littleEndian(const std::vector<int>& v, int width) {
    Bytes out;
    for (int s : v)
        for (int k = 0; k < width; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(s) >> (8 * k)));
    return out;
}

const FormatCase kFormats[] = {
    {16, [](const std::vector<int>& v) { return littleEndian(v, 2); }},
    {61,
     [](const std::vector<int>& v) {
         Bytes out;
         for (int s : v) out.insert(out.end(), {static_cast<uint8_t>(s >> 8), static_cast<uint8_t>(s)});
         return out;
     }},
    {80,
     [](const std::vector<int>& v) {
         Bytes out;
         for (int s : v) out.push_back(static_cast<uint8_t>(s + 128));
         return out;
     }},
    {212,
     [](const std::vector<int>& v) {
         Bytes out;
         for (size_t i = 0; i < v.size(); i += 2) {
             const unsigned a = static_cast<unsigned>(v[i]) & 0xFFF, b = static_cast<unsigned>(v[i + 1]) & 0xFFF;
             out.insert(out.end(), {static_cast<uint8_t>(a), static_cast<uint8_t>(((a >> 8) & 0xF) | ((b >> 4) & 0xF0)),
                                    static_cast<uint8_t>(b)});
         }
         return out;
     }},
};

TEST(WfdbSignalReader, ReadsEverySupportedFormatInMillivolts) {
    const std::vector<int> frames = {0, 100, -100, 50, 120, -120, 7, -7};  // two signals interleaved
    for (const FormatCase& f : kFormats) {
        testing::TempHome dir;
        dir.writeFile(dir.path("r.dat"), f.encode(frames));
        const std::string header = "r 2 360 4\nr.dat " + std::to_string(f.format) +
                                   " 100(0)/mV 12 0 0 0 0 MLII\nr.dat " + std::to_string(f.format) +
                                   " 200(-10) 12 0 0 0 0 V1\n";
        WfdbSignalReader reader(WfdbHeader::parse(header, "r.hea"), dir.programDirectory(), {0, 1});
        std::vector<float> a(8), b(8);
        ASSERT_EQ(reader.read(a, b), 4u) << f.format;
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(a[i], frames[2 * i] / 100.0f) << f.format;
            EXPECT_FLOAT_EQ(b[i], (frames[2 * i + 1] + 10) / 200.0f) << f.format;
        }
        EXPECT_EQ(reader.channelLabel(1), "V1");
    }
}

// A skew of 2 on the second signal: its sample i comes from frame i + 2,
// across reads, and its last two samples are missing (NaN).
TEST(WfdbSignalReader, ASkewedSignalIsReadAhead) {
    constexpr int kFrames = 8;
    std::vector<int> frames;
    for (int i = 0; i < kFrames; ++i) frames.insert(frames.end(), {i * 10, i * 10 + 1});
    for (const char* format : {"16", "212"}) {
        testing::TempHome dir;
        const FormatCase& encoding = std::string(format) == "16" ? kFormats[0] : kFormats[3];
        dir.writeFile(dir.path("r.dat"), encoding.encode(frames));
        const std::string header = std::string("r 2 360 8\nr.dat ") + format + " 100 12 0 0 0 0 II\nr.dat " + format +
                                   ":2 100 12 0 0 0 0 V5\n";
        WfdbSignalReader reader(WfdbHeader::parse(header, "r.hea"), dir.programDirectory(), {0, 1});
        std::vector<float> a, b;
        std::vector<float> chunkA(3), chunkB(3);
        for (size_t n; (n = reader.read(chunkA, chunkB)) > 0;) {
            a.insert(a.end(), chunkA.begin(), chunkA.begin() + static_cast<long>(n));
            b.insert(b.end(), chunkB.begin(), chunkB.begin() + static_cast<long>(n));
        }
        ASSERT_EQ(a.size(), static_cast<size_t>(kFrames)) << format;
        for (int i = 0; i < kFrames; ++i) {
            EXPECT_FLOAT_EQ(a[static_cast<size_t>(i)], i * 10 / 100.0f) << format << " " << i;
            if (i + 2 < kFrames)
                EXPECT_FLOAT_EQ(b[static_cast<size_t>(i)], ((i + 2) * 10 + 1) / 100.0f) << format << " " << i;
            else
                EXPECT_TRUE(std::isnan(b[static_cast<size_t>(i)])) << format << " " << i;
        }
    }
}

// A line of blanks other than spaces and tabs once read past an empty word
// list (a fuzzing finding).
TEST(WfdbHeader, LinesOfOtherBlanksAreSkipped) {
    const WfdbHeader h = WfdbHeader::parse("r 1 360 4\n\v\f\nr.dat 16 200 12 0 0 0 0 ECG\n", "r.hea");
    ASSERT_EQ(h.signals.size(), 1u);
    EXPECT_EQ(h.signals[0].description, "ECG");
}

TEST(WfdbAnnotations, FormatAndParseAreInverse) {
    const std::vector<WfdbAnnotation> written = {
        {18, 1, 0, 0, 0, {}},         {370, 5, 0, 0, 0, {}},    {371, 14, 3, 1, 0, {}},
        {400000, 28, 0, 1, 2, "(VT"}, {400001, 8, 0, 0, 0, {}},  // far apart: a SKIP
        {5000000000, 1, 0, 0, 0, {}}, {20, 5, 0, 0, 0, {}},      // beyond one SKIP's 32 bits, both ways
    };
    const auto read = WfdbAnnotations::parse(WfdbAnnotations::format(written), "x.atr");
    ASSERT_EQ(read.size(), written.size());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].sample, written[i].sample);
        EXPECT_EQ(read[i].code, written[i].code);
        EXPECT_EQ(read[i].subtype, written[i].subtype);
        EXPECT_EQ(read[i].channel, written[i].channel);
        EXPECT_EQ(read[i].aux, written[i].aux);
    }
    EXPECT_EQ(WfdbAnnotations::mnemonic(read[1].code), "V");
}

// A one-signal 360 Hz record of N seconds in format 16 with a beat a second.
struct BadSource {
    const char* name;
    std::string header;
    long dataSeconds;     // bytes of signal written: 2 per sample
    long annotationAt;    // a beat at this sample, or -1
    const char* problem;  // part of the message
    const char* options = "";
};

const BadSource kBadSources[] = {
    {"truncated", "r 1 360 36000\nr.dat 16 200 12 0 0 0 0 ECG\n", 60, -1, "truncated"},
    {"unknown format", "r 1 360 3600\nr.dat 311 200 12 0 0 0 0 ECG\n", 10, -1, "unsupported signal format"},
    {"too slow", "r 1 40 400\nr.dat 16 200 12 0 0 0 0 ECG\n", 10, -1, "50 Hz to 10000 Hz"},
    {"contradicting", "r 2 360 3600\nr.dat 16 200 12 0 0 0 0 ECG\n", 10, -1, "announces 2 signals"},
    {"annotation past the end", "r 1 360 3600\nr.dat 16 200 12 0 0 0 0 ECG\n", 10, 3600, "past the end"},
    {"too long", "r 1 50 8460000\nr.dat 16 200 12 0 0 0 0 ECG\n", 0, -1, "at most 46.6 h"},
    {"not a header", "\n\n# only comments\n", 1, -1, "no record line"},
    {"three channels asked for",
     "r 3 360 3600\nr.dat 16 200 12 0 0 0 0 I\nr.dat 16 200 12 0 0 0 0 II\nr.dat 16 200 12 0 0 0 0 III\n", 30, -1,
     "holds two", " --channels I,II,III"},
};

// One channel of a minute at 250 Hz, a spike a second, electrodes off (a
// flat line) from 20 to 30 s: lead-off marks fill the gap, and the channel
// is shown twice.
TEST(WfdbImport, FlatStretchesBecomeLeadOffAndOneChannelIsShownTwice) {
    testing::TempHome dir;
    std::vector<int16_t> samples(250 * 60);
    std::vector<WfdbAnnotation> beats;
    for (int s = 0; s < static_cast<int>(samples.size()); ++s) {
        const bool off = s >= 250 * 20 && s < 250 * 30;
        samples[static_cast<size_t>(s)] = off ? 0 : static_cast<int16_t>(s % 250 < 5 ? 200 : (s * 7) % 11);
        if (s % 250 == 2 && !off) beats.push_back({s, 1, 0, 0, 0, {}});
    }
    WfdbWriter writer(dir.programDirectory(), "flat", 250, {{"ECG", 200, 0}});
    const std::vector<int16_t> channels[1] = {samples};
    ASSERT_TRUE(writer.append(channels, samples.size()));
    ASSERT_TRUE(writer.finish(beats));
    const ToolRun run = runHolter("import " + dir.path("flat.hea") + " " + dir.path("home"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("one channel only"), std::string::npos) << run.out;
    const std::string info = runHolter("info --home " + dir.path("home")).out;
    EXPECT_EQ(jsonNumber(info, "N"), static_cast<long>(beats.size()));
    EXPECT_GE(jsonNumber(info, "noForm"), 9);
    EXPECT_EQ(jsonNumber(info, "Lead off"), jsonNumber(info, "noForm"));
    EXPECT_EQ(jsonNumber(info, "PAUSE"), 0) << "the lead-off marks bridge the gap";
}

TEST(WfdbImportRefusal, BadSourcesGetAMessageAndNoHome) {
    for (const BadSource& c : kBadSources) {
        testing::TempHome dir;
        dir.writeText(dir.path("r.hea"), c.header);
        dir.writeFile(dir.path("r.dat"), Bytes(static_cast<size_t>(c.dataSeconds * 360 * 2), 0));
        if (c.dataSeconds == 0) std::filesystem::resize_file(dir.path("r.dat"), 8460000 * 2);
        if (c.annotationAt >= 0)
            dir.writeFile(dir.path("r.atr"),
                          WfdbAnnotations::format(std::vector<WfdbAnnotation>{{c.annotationAt, 1, 0, 0, 0, {}}}));
        const ToolRun run = runHolter("import " + dir.path("r") + " " + dir.path("home") + c.options);
        EXPECT_EQ(run.status, 255) << c.name << ": " << run.out;
        EXPECT_NE(run.out.find(c.problem), std::string::npos) << c.name << ": " << run.out;
        EXPECT_NE(run.out.find("r."), std::string::npos) << c.name << " names no file: " << run.out;
        EXPECT_FALSE(std::filesystem::exists(dir.path("home"))) << c.name;
        for (const auto& entry : std::filesystem::directory_iterator(dir.programDirectory()))
            EXPECT_EQ(entry.path().filename().string().find(".home.partial"), std::string::npos) << c.name;
    }
}

}  // namespace
}  // namespace lumen
