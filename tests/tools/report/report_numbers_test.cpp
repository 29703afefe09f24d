// Every number `holter report --json` prints, counted again from the
// recording's beat words, episode records and trend tables by the
// definitions of docs/report.md, with code that shares nothing with the
// report's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "store/recording.h"
#include "store/section_id.h"
#include "store/trend_table.h"
#include "support/json_value.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"
#include "tools/report/study_recount.h"

namespace lumen {
namespace {

using testing::JsonValue;
using Counts = std::vector<std::pair<const char*, int64_t>>;

constexpr double kHrvToleranceMs = 0.5;
constexpr double kHrvToleranceShare = 0.005;
constexpr double kBandToleranceShare = 0.005;
// lf / hf carries both bands' tolerances.
constexpr double kBandRatioToleranceShare = 2 * kBandToleranceShare;
constexpr double kBurdenTolerancePercent = 0.01;
// Episode lengths are whole tenths of a second: exact but for the decimal text.
constexpr double kTenthToleranceSeconds = 0.001;
constexpr double kFibrillationMinutesTolerance = 0.05;
// The µV of a level (6.25 µV steps) may be printed rounded to the µV.
constexpr double kStRoundingMicrovolts = 0.5;
constexpr uintmax_t kLeastPdfBytes = 4096;

struct ReportCase {
    const char* name;
    const char* record;  // below physionet/; none for the demo day
    bool reviewerExclusions = false;
};

void PrintTo(const ReportCase& c, std::ostream* out) { *out << c.name; }

// MIT-BIH records with their reference annotations, and day-long ones of
// the long-term atrial fibrillation database (beats only, with a start date).
constexpr ReportCase kCases[] = {
    {"demo_day", nullptr},
    {"mitdb_100", "mitdb/100"},
    {"mitdb_106", "mitdb/106"},
    {"mitdb_119", "mitdb/119"},
    {"mitdb_201", "mitdb/201"},
    {"mitdb_203", "mitdb/203"},
    {"mitdb_207", "mitdb/207"},
    {"mitdb_208", "mitdb/208"},
    {"mitdb_209", "mitdb/209"},
    {"mitdb_223", "mitdb/223"},
    {"ltafdb_00", "ltafdb/00"},
    {"ltafdb_58", "ltafdb/58"},
    {"ltafdb_122", "ltafdb/122"},
    {"mitdb_119_with_exclusions", "mitdb/119", true},
    {"ltafdb_122_with_exclusions", "ltafdb/122", true},
};

constexpr uint32_t kExcludedBlockSpacing = 3;

// Every third block as the reviewer leaves it after excluding an extreme
// there: out of every extreme search, still in the means.
void excludeBlocks(const std::string& home) {
    Recording recording(home + "/", home + "/recording", RecordingAccess::Session);
    ASSERT_TRUE(recording.selectSection(SectionId::TrendFlags));
    const SectionPlace flags = recording.selectedSection();
    recording.file().beginUpdate();
    for (uint32_t b = 0; b < flags.length; b += kExcludedBlockSpacing) {
        const auto flag =
            static_cast<uint8_t>(recording.file().readU8(flags.offset + b) | TrendTable::kHeartRateMaximumExcluded);
        recording.file().writeAt(flags.offset + b, std::span(&flag, 1));
    }
    ASSERT_TRUE(recording.file().commitUpdate());
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void expectCounts(const JsonValue& object, const Counts& counts) {
    for (const auto& [key, expected] : counts) {
        EXPECT_TRUE(object[key].isNumber()) << key;
        EXPECT_EQ(object[key].number(), static_cast<double>(expected)) << key;
    }
}

template <typename T>
void expectOptional(const JsonValue& value, const std::optional<T>& expected, const char* key, double tolerance = 0) {
    if (!expected) {
        EXPECT_TRUE(value.isNull()) << key << " is not null";
        return;
    }
    EXPECT_NEAR(value.number(), static_cast<double>(*expected), tolerance) << key;
}

void expectNear(const JsonValue& value, double expected, double tolerance, const char* key) {
    EXPECT_TRUE(value.isNumber()) << key;
    EXPECT_NEAR(value.number(), expected, tolerance) << key;
}

double hrvTolerance(double expected) { return std::max(kHrvToleranceMs, kHrvToleranceShare * std::fabs(expected)); }

void expectHeartRate(const JsonValue& json, const RateRecount& rate) {
    expectOptional(json["min"], rate.min, "min");
    expectOptional(json["minTick"], rate.minTick, "minTick");
    expectOptional(json["max"], rate.max, "max");
    expectOptional(json["maxTick"], rate.maxTick, "maxTick");
    expectCounts(json, {{"mean", rate.mean}});
}

void expectEctopy(const JsonValue& json, const EctopyRecount& e, bool ventricular) {
    Counts counts = {{"total", e.total},
                     {"isolated", e.isolated},
                     {"couplets", e.couplets},
                     {"runs", e.runs},
                     {"longestRunBeats", e.longestRunBeats},
                     {"tachycardias", e.tachycardias},
                     {"fastestRunRate", e.fastestRunRate}};
    if (ventricular) counts.emplace_back("bigeminy", e.bigeminy);
    expectCounts(json, counts);
}

void expectSt(const JsonValue& json, const StRecount& st) {
    expectOptional(json["min"], st.min, "min", kStRoundingMicrovolts);
    expectOptional(json["minTick"], st.minTick, "minTick");
    expectOptional(json["max"], st.max, "max", kStRoundingMicrovolts);
    expectOptional(json["maxTick"], st.maxTick, "maxTick");
}

void expectHrv(const JsonValue& json, const HrvRecount& hrv) {
    const std::pair<const char*, double> timeDomain[] = {{"sdnn", hrv.sdnn},
                                                         {"sdann", hrv.sdann},
                                                         {"sdnnIndex", hrv.sdnnIndex},
                                                         {"rmssd", hrv.rmssd},
                                                         {"pnn50", hrv.pnn50}};
    for (const auto& [key, expected] : timeDomain) expectNear(json[key], expected, hrvTolerance(expected), key);
    expectNear(json["lf"], hrv.lf, kBandToleranceShare * hrv.lf, "lf");
    expectNear(json["hf"], hrv.hf, kBandToleranceShare * hrv.hf, "hf");
    expectNear(json["lfHf"], hrv.lfHf, kBandRatioToleranceShare * hrv.lfHf, "lfHf");
}

void expectHours(const JsonValue& json, const std::vector<HourRecount>& hours) {
    ASSERT_EQ(json.size(), hours.size());
    for (size_t r = 0; r < hours.size(); ++r) {
        const HourRecount& h = hours[r];
        SCOPED_TRACE("hour row " + std::to_string(r) + " (" + h.hour + ")");
        EXPECT_EQ(json[r]["hour"].string(), h.hour);
        expectCounts(json[r], {{"beats", h.beats},
                               {"hrMin", h.hrMin},
                               {"hrMean", h.hrMean},
                               {"hrMax", h.hrMax},
                               {"V", h.ventricular},
                               {"couplets", h.couplets},
                               {"vRuns", h.ventricularRuns},
                               {"S", h.supraventricular},
                               {"svRuns", h.supraventricularRuns},
                               {"pauses", h.pauses}});
        expectNear(json[r]["afMinutes"], h.fibrillationMinutes, kFibrillationMinutesTolerance, "afMinutes");
    }
}

void expectSummary(const JsonValue& json, const StudyRecount& expected) {
    if (expected.startDate)
        EXPECT_EQ(json["startDate"].string(), *expected.startDate);
    else
        EXPECT_TRUE(json["startDate"].isNull());
    EXPECT_EQ(json["startClock"].string(), expected.startClock);
    expectCounts(json, {{"durationSeconds", expected.durationSeconds},
                        {"analysedSeconds", expected.analysedSeconds},
                        {"strips", expected.strips},
                        {"flaggedEvents", expected.flaggedEvents}});
    const auto& byClass = expected.beatsByClass;
    expectCounts(
        json["beats"],
        {{"total", expected.beats}, {"N", byClass[0]}, {"S", byClass[1]}, {"V", byClass[2]}, {"A", byClass[3]}});
    expectCounts(json["pauses"], {{"count", expected.pauses.count},
                                  {"longestMs", expected.pauses.longestMs},
                                  {"longestTick", expected.pauses.longestTick}});
    const FibrillationRecount& af = expected.fibrillation;
    expectNear(json["atrialFibrillation"]["burdenPercent"], af.burdenPercent, kBurdenTolerancePercent, "burden");
    expectCounts(json["atrialFibrillation"], {{"episodes", af.episodes}, {"meanRate", af.meanRate}});
    expectNear(json["atrialFibrillation"]["longestSeconds"], af.longestSeconds, kTenthToleranceSeconds, "longest");
}

void expectReport(const JsonValue& json, const StudyRecount& expected) {
    expectSummary(json, expected);
    {
        SCOPED_TRACE("heartRate");
        expectHeartRate(json["heartRate"], expected.heartRate);
    }
    {
        SCOPED_TRACE("ventricular");
        expectEctopy(json["ventricular"], expected.ventricular, true);
    }
    {
        SCOPED_TRACE("supraventricular");
        expectEctopy(json["supraventricular"], expected.supraventricular, false);
    }
    for (size_t channel = 0; channel < expected.st.size(); ++channel) {
        SCOPED_TRACE("ST channel " + std::to_string(channel + 1));
        expectSt(json["st"]["channel" + std::to_string(channel + 1)], expected.st[channel]);
    }
    {
        SCOPED_TRACE("hrv");
        expectHrv(json["hrv"], expected.hrv);
    }
    expectHours(json["hours"], expected.hours);
}

std::filesystem::path sourceOf(const ReportCase& c) {
    const std::filesystem::path folder = physionetFolder();
    return folder.empty() ? folder : folder / (std::string(c.record) + ".hea");
}

class ReportNumbers : public ::testing::TestWithParam<ReportCase> {
protected:
    // The 24-hour demo day takes seconds to build: once for the suite.
    static void SetUpTestSuite() {
        demoScratch_ = std::make_unique<testing::TempHome>();
        const ToolRun demo = runHolter("demo " + demoScratch_->path("demo"));
        demoMade_ = demo.status == 0;
        demoOutput_ = demo.out;
    }
    static void TearDownTestSuite() { demoScratch_.reset(); }

    // The home of the case's recording, or empty (with the failure said).
    std::string homeOf(const ReportCase& c) {
        if (c.record == nullptr) {
            EXPECT_TRUE(demoMade_) << demoOutput_;
            return demoMade_ ? demoScratch_->path("demo") : std::string();
        }
        const std::string home = scratch_.path("imported");
        const ToolRun imported = runHolter("import " + sourceOf(c).string() + " " + home);
        EXPECT_EQ(imported.status, 0) << imported.out;
        return imported.status == 0 ? home : std::string();
    }

    testing::TempHome scratch_;
    static inline std::unique_ptr<testing::TempHome> demoScratch_;
    static inline bool demoMade_ = false;
    static inline std::string demoOutput_;
};

TEST_P(ReportNumbers, EveryPrintedNumberIsTheOneCountedFromTheRecording) {
    const ReportCase& c = GetParam();
    if (c.record != nullptr && !std::filesystem::exists(sourceOf(c)))
        GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    const std::string home = homeOf(c);
    ASSERT_FALSE(home.empty());
    if (c.reviewerExclusions) excludeBlocks(home);
    const std::string pdf = scratch_.path("report.pdf");
    const std::string json = scratch_.path("report.json");
    const ToolRun report = runHolter("report --home " + home + " --pdf " + pdf + " --json " + json);
    ASSERT_EQ(report.status, 0) << report.out;

    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(readWhole(pdf).substr(0, 4), "%PDF");
    EXPECT_GE(std::filesystem::file_size(pdf), kLeastPdfBytes);
    std::string error;
    const JsonValue printed = JsonValue::parse(readWhole(json), error);
    ASSERT_TRUE(error.empty()) << error;
    expectReport(printed, recount(home + "/", home + "/recording"));
}

INSTANTIATE_TEST_SUITE_P(Recordings, ReportNumbers, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumen
