// ISHNE Holter files made here: the leads and beat annotations arrive, and a
// damaged header or a short ECG block is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "import/ishne/ishne_header.h"
#include "store/recording.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

constexpr int kRate = 200;
constexpr int kSeconds = 60;
constexpr int kResolutionNv = 2500;
constexpr const char* kLabels = "NNVNNSNNVVN";  // repeated, one beat each 0.8 s

void put16(std::vector<uint8_t>& b, size_t at, int v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, int64_t v) {
    for (int k = 0; k < 4; ++k) b[at + static_cast<size_t>(k)] = static_cast<uint8_t>(v >> (8 * k));
}

std::vector<uint8_t> header(const char* magic, int64_t samples) {
    std::vector<uint8_t> b(kIshneFixedHeaderEnd, 0);
    std::memcpy(b.data(), magic, 8);
    put32(b, 14, samples);
    put32(b, 18, kIshneFixedHeaderEnd);
    put32(b, 22, kIshneFixedHeaderEnd);
    std::memcpy(b.data() + 68, "M\xfcller", 6);  // Latin-1, as writers in the field leave it
    put16(b, 138, 5);                            // recorded 5 November 2023
    put16(b, 140, 11);
    put16(b, 142, 2023);
    put16(b, 150, 9);  // 09:30:00
    put16(b, 152, 30);
    put16(b, 156, 2);
    put16(b, 158, 6);   // II
    put16(b, 160, 15);  // V5
    put16(b, 206, kResolutionNv);
    put16(b, 208, kResolutionNv);
    put16(b, 272, kRate);
    put16(b, 8, IshneHeader::crc(std::span(b).subspan(10)));
    return b;
}

size_t beatCount() { return static_cast<size_t>((kRate * kSeconds - kRate / 2) * 5 / (kRate * 4)) + 1; }

int64_t beatSample(size_t i) { return static_cast<int64_t>(i) * kRate * 4 / 5 + kRate / 2; }

// The .ecg and .ann of a minute with a QRS-like spike at every beat.
void writeRecord(const std::string& stem) {
    const int64_t samples = int64_t{kRate} * kSeconds;
    std::vector<uint8_t> ecg = header("ISHNE1.0", samples);
    ecg.resize(ecg.size() + static_cast<size_t>(samples) * 4, 0);
    const size_t beats = beatCount();
    for (size_t i = 0; i < beats; ++i)
        for (int k = -3; k <= 3; ++k) {
            const int64_t s = beatSample(i) + k;
            if (s < 0 || s >= samples) continue;
            const int v = static_cast<int>(400 * std::exp(-k * k / 2.0));  // 1 mV
            put16(ecg, kIshneFixedHeaderEnd + static_cast<size_t>(s) * 4, v);
            put16(ecg, kIshneFixedHeaderEnd + static_cast<size_t>(s) * 4 + 2, v / 2);
        }
    std::ofstream(stem + ".ecg", std::ios::binary)
        .write(reinterpret_cast<const char*>(ecg.data()), static_cast<long>(ecg.size()));
    std::vector<uint8_t> ann = header("ANN  1.0", samples);
    ann.resize(ann.size() + 4 + beats * 4, 0);
    size_t at = kIshneFixedHeaderEnd + 4;
    for (size_t i = 0; i < beats; ++i, at += 4) {
        ann[at] = static_cast<uint8_t>(kLabels[i % std::strlen(kLabels)]);
        put16(ann, at + 2, static_cast<int>(beatSample(i) - (i == 0 ? 0 : beatSample(i - 1))));
    }
    std::ofstream(stem + ".ann", std::ios::binary)
        .write(reinterpret_cast<const char*>(ann.data()), static_cast<long>(ann.size()));
}

TEST(IshneImport, LeadsBeatAnnotationsNameAndDateArrive) {
    testing::TempHome dir;
    writeRecord(dir.path("rec"));
    const ToolRun run = runHolter("import " + dir.path("rec.ecg") + " " + dir.path("home"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("II + V5"), std::string::npos) << run.out;
    const std::string info = runHolter("info --home " + dir.path("home")).out;
    std::map<char, long> expected;
    for (size_t i = 0; i < beatCount(); ++i) ++expected[kLabels[i % std::strlen(kLabels)]];
    for (const char* key : {"N", "S", "V"}) EXPECT_EQ(jsonNumber(info, key), expected[key[0]]) << key;
    EXPECT_EQ(jsonNumber(info, "startTick"), (9 * 3600 + 30 * 60) * 50);
    EXPECT_NE(info.find("\"patient\": \"M\xc3\xbcller\""), std::string::npos) << info;
    EXPECT_NE(info.find("\"startDate\": \"2023-11-05\""), std::string::npos) << info;
    Recording recording(dir.path("home") + "/");
    recording.beats().load(recording);
    for (size_t i = 0; i < recording.beats().size(); ++i)
        EXPECT_NEAR(recording.beats()[i].positionQuarterTicks(), beatSample(i), 1.0) << i;
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
        writeRecord(dir.path("rec"));
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
