// SPDX-License-Identifier: GPL-3.0-or-later
// Records that bring beats without their signal, with or without rhythm
// annotations: the recording keeps the annotated fibrillation, finds it
// where none was annotated, and reports it in `holter info`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "import/wfdb/wfdb_annotations.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

constexpr double kRateHz = 128.0;
constexpr int kSeconds = 300;
constexpr uint8_t kNormal = 1;
constexpr uint8_t kPremature = 8;  // A
constexpr uint8_t kRhythm = 28;    // +

struct BeatOnlyCase {
    const char* name;
    const char* signalLines;     // what the header says of the signal
    bool annotateFibrillation;   // "(AFIB" at 100 s, "(N" at 200 s
    bool irregularFibrillation;  // the beats of 100-200 s irregular
    const char* fibrillation;    // what holter info must report
};

void PrintTo(const BeatOnlyCase& c, std::ostream* out) { *out << c.name; }

const BeatOnlyCase kCases[] = {
    {"absent_signal_file", "rec.dat 16 200 12 0 0 0 0 ECG\nrec.dat 16 200 12 0 0 0 0 ECG\n", false, false,
     "\"atrialFibrillation\": {\"burdenPercent\": 0.00, \"episodes\": []}"},
    {"no_signal_declared", "", false, false, "\"episodes\": []"},
    {"annotated_fibrillation_kept", "", true, false,
     "\"atrialFibrillation\": {\"burdenPercent\": 33.33, \"episodes\": [[5000, 10000]]}"},
    {"fibrillation_found", "", false, true, ""},
};

// Sinus rhythm at 0.8 s with premature atrial beats at 150 s and 250 s.
std::vector<WfdbAnnotation> annotations(const BeatOnlyCase& c) {
    std::vector<WfdbAnnotation> out;
    uint32_t random = 7u;
    for (double t = 0.5; t < kSeconds - 1; t += 0.8) {
        const bool inside = t >= 100.0 && t < 200.0;
        if (c.irregularFibrillation && inside) {
            random = random * 1664525u + 1013904223u;
            t += 0.7 * static_cast<double>(random >> 8) / (1u << 24) - 0.35;
        }
        const bool premature = std::fabs(t - 150.0) < 0.4 || std::fabs(t - 250.0) < 0.4;
        out.push_back({std::llround(t * kRateHz), premature ? kPremature : kNormal, 0, 0, 0, {}});
    }
    if (c.annotateFibrillation) {
        out.push_back({std::llround(100.0 * kRateHz), kRhythm, 0, 0, 0, "(AFIB"});
        out.push_back({std::llround(200.0 * kRateHz), kRhythm, 0, 0, 0, "(N"});
        std::stable_sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.sample < b.sample; });
    }
    return out;
}

class BeatOnlyImport : public ::testing::TestWithParam<BeatOnlyCase> {};

TEST_P(BeatOnlyImport, ImportsTheBeatsOverAFlatLeadOffSignal) {
    const BeatOnlyCase& c = GetParam();
    testing::TempHome scratch;
    const int signals = std::string(c.signalLines).empty() ? 0 : 2;
    std::ofstream(scratch.path("rec.hea")) << "rec " << signals << " 128 " << kSeconds * 128 << "\n" << c.signalLines;
    const std::vector<WfdbAnnotation> list = annotations(c);
    const std::vector<uint8_t> bytes = WfdbAnnotations::format(list);
    std::ofstream(scratch.path("rec.atr"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const std::string home = scratch.path("home");
    const ToolRun imported = runHolter("import " + scratch.path("rec.hea") + " " + home);
    ASSERT_EQ(imported.status, 0) << imported.out;
    EXPECT_NE(imported.out.find(scratch.path("rec.hea")), std::string::npos) << imported.out;
    EXPECT_NE(imported.out.find("only the beat annotations"), std::string::npos) << imported.out;
    EXPECT_NE(imported.out.find("Hz, beats only)"), std::string::npos) << imported.out;
    const ToolRun info = runHolter("info --home " + home);
    ASSERT_EQ(info.status, 0) << info.out;
    EXPECT_EQ(jsonNumber(info.out, "blocks"), kSeconds / 10);
    EXPECT_EQ(jsonNumber(info.out, "S"), 2) << "the source's labels stay";
    EXPECT_NE(info.out.find(c.fibrillation), std::string::npos) << info.out;
    // Premature beats within fibrillation make no episode of their own.
    EXPECT_EQ(jsonNumber(info.out, "SVISO"), c.annotateFibrillation || c.irregularFibrillation ? 1 : 2);

    Recording recording(home + "/");
    recording.selectSection(SectionId::TrendFlags);
    const SectionPlace flags = recording.selectedSection();
    ASSERT_EQ(flags.length, static_cast<uint32_t>(kSeconds / 10));
    for (uint32_t b = 0; b < flags.length; ++b) EXPECT_NE(recording.file().readU8(flags.offset + b), 0) << b;

    if (c.irregularFibrillation) {
        const size_t at = info.out.find("\"episodes\": [[");
        ASSERT_NE(at, std::string::npos) << info.out;
        long first = 0, last = 0;
        ASSERT_EQ(std::sscanf(info.out.c_str() + at, "\"episodes\": [[%ld, %ld]]", &first, &last), 2) << info.out;
        EXPECT_NEAR(first / 50.0, 100.0, 15.0);
        EXPECT_NEAR(last / 50.0, 200.0, 15.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Records, BeatOnlyImport, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumen
