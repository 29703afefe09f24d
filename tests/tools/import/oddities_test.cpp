// SPDX-License-Identifier: GPL-3.0-or-later
// Files as people bring them: rates, units, labels, skews, dead channels and
// cut-off files that the field's readers take or explain. Each is imported
// by the holter tool; what it prints is checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "import/ishne/ishne_header.h"
#include "import/wfdb/wfdb_annotations.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"
#include "tools/import/source_files.h"

namespace lumen {
namespace {

using testing::EdfFile;
using testing::IshneFile;
using testing::TempHome;

struct Oddity {
    const char* name;
    std::function<std::string(const TempHome&)> write;  // returns the source to import
    int status;
    std::vector<std::string> says;  // parts of what the tool prints
    std::vector<std::string> saysNot = {};
    std::string options = "";
};

std::function<std::string(const TempHome&)> edf(EdfFile file) {
    return [file](const TempHome& dir) {
        testing::writeEdf(dir.path("r.edf"), file);
        return dir.path("r.edf");
    };
}

std::function<std::string(const TempHome&)> ishne(IshneFile file) {
    return [file](const TempHome& dir) {
        testing::writeIshne(dir.path("rec"), file);
        return dir.path("rec.ecg");
    };
}

// Two channels of a minute at 250 Hz in format 16, a beat a second: the
// first with a spike per beat that stops (flat) at 40 s, the second all
// zero; and an annotation file with two codes WFDB leaves unassigned.
std::string deadAndUnassigned(const TempHome& dir) {
    constexpr int kRate = 250;
    std::vector<int16_t> frames;
    std::vector<WfdbAnnotation> annotations;
    for (int s = 0; s < kRate * 60; ++s) {
        const bool live = s < kRate * 40;
        frames.push_back(live ? static_cast<int16_t>(s % kRate < 5 ? 200 : (s * 7) % 11) : 0);
        frames.push_back(0);
        if (s % kRate == 2 && live) annotations.push_back({s, 1, 0, 0, 0, {}});
    }
    annotations.insert(annotations.begin() + 3, {kRate * 3 + 100, 45, 0, 0, 0, {}});
    annotations.insert(annotations.begin() + 6, {kRate * 5 + 100, 55, 0, 0, 0, {}});
    dir.writeFile(dir.path("r.dat"), testing::format16(frames));
    dir.writeFile(dir.path("r.atr"), WfdbAnnotations::format(annotations));
    dir.writeText(dir.path("r.hea"), "r 2 250 15000\nr.dat 16 200 16 0 0 0 0 II\nr.dat 16 200 16 0 0 0 0 V5\n");
    return dir.path("r.hea");
}

// Writers in the field leave the CRC unset and announce more samples than
// they wrote: a warning, and what is there is read. What cannot be read is
// refused. A byte changed, or the file cut (its .ann gone).
std::function<std::string(const TempHome&)> damagedIshne(size_t offset, bool cut) {
    return [=](const TempHome& dir) {
        testing::writeIshne(dir.path("rec"), {.labels = "NNVNNSNNVVN"});
        std::vector<uint8_t> bytes = dir.readFile(dir.path("rec.ecg"));
        if (cut) {
            bytes.resize(offset);
            std::filesystem::remove(dir.path("rec.ann"));
        } else {
            bytes[offset] = '#';
        }
        dir.writeFile(dir.path("rec.ecg"), bytes);
        return dir.path("rec.ecg");
    };
}

std::string notEdf(const TempHome& dir) {
    dir.writeText(dir.path("r.edf"), "0       " + std::string(300, 'x'));
    return dir.path("r.edf");
}

std::string cutInsideMagic(const TempHome& dir) {
    dir.writeText(dir.path("rec.ecg"), "ISHNE");
    return dir.path("rec.ecg");
}

std::string emptyIshne(const TempHome& dir) {
    dir.writeText(dir.path("rec.ecg"), "");
    return dir.path("rec.ecg");
}

std::string withNul() {
    std::string labels = "NNNNNNNNNN";
    labels += '\0';
    return labels;
}

const IshneFile kNulLabel{200, 60, withNul()};
const size_t kIshneBeats = testing::ishneBeatSamples(kNulLabel).size();

EdfFile unit(const char* name, double millivolts, const char* low, const char* high) {
    EdfFile f;
    f.unit = name;
    f.millivoltsPerUnit = millivolts;
    f.physicalMinimum = low;
    f.physicalMaximum = high;
    return f;
}

EdfFile withAnnotations() {
    EdfFile f;
    f.plus = true;
    f.annotations = {{-0.5, "N"}, {1.0, "N"}, {2.0, ""}};
    return f;
}

EdfFile at(int samplesPerRecord, const char* recordSeconds) {
    EdfFile f;
    f.samplesPerRecord = samplesPerRecord;
    f.recordSeconds = recordSeconds;
    return f;
}

EdfFile cutTo(size_t size) {
    EdfFile f;
    f.cutTo = size;
    return f;
}

// A 3 mV sine is stored at amplitude code 2 only when its unit was read
// right: a thousand times too large clips (code 0), too small is code 3.
const Oddity kOddities[] = {
    {"ISHNE at 32767 Hz", ishne({32767, 2, ""}), 255, {"rec.ecg", "32767 Hz", "50 Hz to 10000 Hz"}},
    {"EDF at 200 MHz", edf(at(200, "0.000001")), 255, {"r.edf", "2e+08 Hz", "50 Hz to 10000 Hz"}},
    {"EDF at 40 Hz without beats", edf(at(40, "1")), 255, {"r.edf", "40 Hz"}, {"has no beat annotations"}},
    {"EDF in V", edf(unit("V", 1000.0, "-0.01", "0.01")), 0, {"amplitude code 2"}},
    {"EDF in lower-case uv", edf(unit("uv", 1e-3, "-10000", "10000")), 0, {"amplitude code 2"}},
    {"EDF in nV", edf(unit("nV", 1e-6, "-5000000", "5000000")), 0, {"amplitude code 2"}},
    {"EDF in \xb5V (latin-1), which EDF forbids",
     edf(unit("\xb5V", 1e-3, "-10000", "10000")),
     255,
     {"r.edf", "the physical unit of signal 1", "plain ASCII"}},
    {"EDF with no unit, a range of uV",
     edf(unit("", 1e-3, "-10000", "10000")),
     0,
     {"amplitude code 2", "r.edf: signal \"ECG1\" gives no physical unit", "was read as uV"}},
    {"EDF+ beat before the first sample, and one without text",
     edf(withAnnotations()),
     0,
     {"1 beats (N 1,", "r.edf: 1 annotations lie before the first sample",
      "1 annotations with unknown labels skipped"}},
    {"ISHNE .ann with a NUL label",
     ishne(kNulLabel),
     0,
     {std::to_string(kIshneBeats - kIshneBeats / 11) + " beats (N " + std::to_string(kIshneBeats - kIshneBeats / 11),
      "; " + std::to_string(kIshneBeats / 11) + " annotations with unknown labels skipped"}},
    {"WFDB dead channel and unassigned codes",
     deadAndUnassigned,
     0,
     {"channel 2 (V5) carries no signal", "2 annotations with unknown labels skipped"},
     {"lead off 0)"}},
    {"ISHNE cut inside its magic", cutInsideMagic, 255, {"rec.ecg: cut short"}, {"not an ISHNE"}},
    {"an empty .ecg file", emptyIshne, 255, {"rec.ecg", "not an ISHNE file"}},
    {"ISHNE magic damaged", damagedIshne(0, false), 255, {"rec.ecg", "not an ISHNE file"}},
    {"ISHNE cut inside the header", damagedIshne(300, true), 255, {"rec.ecg", "ends inside its header"}},
    {"ISHNE header byte changed", damagedIshne(100, false), 0, {"rec.ecg", "CRC does not match"}},
    {"ISHNE ECG block short",
     damagedIshne(kIshneFixedHeaderEnd + 1000, true),
     0,
     {"rec.ecg", "samples per lead, the file holds"}},
    {"no EDF after the version field", notEdf, 255, {"r.edf: not an EDF/BDF file"}},
    {"EDF cut short",
     edf(cutTo(5000)),
     255,
     {"r.edf: cut short", "20 data records", "4 whole records"},
     {"not an EDF"}},
    {"--channels names one twice", edf(EdfFile{}), 255, {"r.edf", "names \"ECG1\" twice"}, {}, " --channels ECG1,ECG1"},
    {"--channels with an empty name", edf(EdfFile{}), 255, {"r.edf", "empty channel name"}, {}, " --channels ECG1,"},
};

// Lines other than warnings: an import prints one line of summary.
long summaryLines(const std::string& out) {
    long lines = 0;
    for (size_t at = 0; at < out.size();) {
        const size_t end = std::min(out.find('\n', at), out.size());
        lines += out.compare(at, 8, "warning:") != 0;
        at = end + 1;
    }
    return lines;
}

TEST(ImportOddities, RealWorldFilesAreTakenOrExplained) {
    for (const Oddity& c : kOddities) {
        TempHome dir;
        const std::string source = c.write(dir);
        if (!LUMEN_TEST_HAVE_EDF && source.ends_with(".edf")) continue;  // a build without EDFlib refuses EDF
        const ToolRun run = runHolter("import " + source + " " + dir.path("home") + c.options);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.out;
        for (const std::string& part : c.says)
            EXPECT_NE(run.out.find(part), std::string::npos) << c.name << ": " << run.out;
        for (const std::string& part : c.saysNot)
            EXPECT_EQ(run.out.find(part), std::string::npos) << c.name << ": " << run.out;
        EXPECT_EQ(std::filesystem::exists(dir.path("home")), c.status == 0) << c.name;
        if (c.status == 0) {
            EXPECT_EQ(summaryLines(run.out), 1) << c.name << ": " << run.out;
        }
    }
}

}  // namespace
}  // namespace lumen
