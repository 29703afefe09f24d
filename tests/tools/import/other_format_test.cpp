// SPDX-License-Identifier: GPL-3.0-or-later
// Formats only libbiosig reads: each real file of the shared data imports,
// its signal matching what BioSig's own save2gdf reads from it, and a reader
// that crashes or hangs ends as a message naming the file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_run.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;
constexpr double kLeastCorrelation = 0.97;
constexpr int kTicksPerSecond = 50;

fs::path formatsFolder() {
    const char* shared = std::getenv("LUMEN_SHARED_DATA");
    return shared == nullptr ? fs::path() : fs::path(shared) / "formats";
}

bool readsOtherFormats() { return runHolter("--help").out.find("holter biosig") != std::string::npos; }

// The value of "KEY = value" lines of save2gdf's header, in order.
std::vector<std::string> headerValues(const std::string& header, const std::string& key) {
    std::vector<std::string> out;
    std::istringstream lines(header);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key, 0) != 0) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string value = line.substr(equals + 1);
        value = value.substr(0, value.find('#'));
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t\r") + 1);
        out.push_back(value);
    }
    return out;
}

std::vector<double> numbersIn(const fs::path& file) {
    std::ifstream in(file);
    std::vector<double> out;
    for (double v; in >> v;) out.push_back(v);
    return out;
}

// A signal at 50 Hz as means of the source samples over each tick, centred
// on it as a resampler places its output: what the recording keeps of it,
// whatever the filters (the 1-s running mean goes in the comparison).
std::vector<double> atTicks(const std::vector<double>& samples, double frequencyHz) {
    std::vector<double> out;
    const double perTick = frequencyHz / kTicksPerSecond;
    for (size_t t = 0; (t + 0.5) * perTick <= samples.size(); ++t) {
        const auto first = static_cast<size_t>(std::max(0L, std::lround((t - 0.5) * perTick)));
        const auto end = static_cast<size_t>(std::lround((t + 0.5) * perTick));
        out.push_back(std::accumulate(samples.begin() + static_cast<ptrdiff_t>(first),
                                      samples.begin() + static_cast<ptrdiff_t>(end), 0.0) /
                      static_cast<double>(end - first));
    }
    return out;
}

std::vector<double> lessRunningMean(const std::vector<double>& v) {
    std::vector<double> out(v.size());
    const int half = kTicksPerSecond / 2;
    for (size_t i = 0; i < v.size(); ++i) {
        double sum = 0.0;
        int n = 0;
        for (int k = -half; k <= half; ++k) {
            const auto j = static_cast<int64_t>(i) + k;
            if (j < 0 || j >= static_cast<int64_t>(v.size())) continue;
            sum += v[static_cast<size_t>(j)];
            ++n;
        }
        out[i] = v[i] - sum / n;
    }
    return out;
}

// Over the stretch both hold, less its first and last second, where the
// import's filters start and end.
double correlation(std::vector<double> a, std::vector<double> b) {
    const size_t n = std::min(a.size(), b.size());
    a = lessRunningMean(std::vector<double>(a.begin(), a.begin() + static_cast<ptrdiff_t>(n)));
    b = lessRunningMean(std::vector<double>(b.begin(), b.begin() + static_cast<ptrdiff_t>(n)));
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = kTicksPerSecond; i + kTicksPerSecond < n; ++i) {
        ab += a[i] * b[i];
        aa += a[i] * a[i];
        bb += b[i] * b[i];
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// The two channels of blocks 0.. of the recording, as `holter decode` prints them.
std::vector<std::vector<double>> decoded(const std::string& home, long blocks) {
    const ToolRun run = runHolter("decode --home " + home + " 0 " + std::to_string(blocks));
    std::vector<std::vector<double>> out(2);
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("block", 0) == 0) continue;
        std::istringstream values(line);
        double c1 = 0.0, c2 = 0.0;
        if (values >> c1 >> c2) {
            out[0].push_back(c1);
            out[1].push_back(c2);
        }
    }
    return out;
}

struct FormatCase {
    const char* file;
    const char* leads[2];  // the ECG leads the recording takes: its first two
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.file; }

class OtherFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(OtherFormat, ImportsWhatSave2gdfReads) {
    const fs::path source = formatsFolder() / GetParam().file;
    if (!fs::exists(source)) GTEST_SKIP() << "the shared formats folder is absent";
    if (!readsOtherFormats()) GTEST_SKIP() << "this holter reads no other formats (no libbiosig)";
    if (!testing::installed("save2gdf")) GTEST_SKIP() << "save2gdf (biosig-tools) is not installed";
    testing::TempHome work;
    const std::string home = work.path("home");
    const ToolRun imported = runHolter("import " + source.string() + " " + home);
    ASSERT_EQ(imported.status, 0) << imported.out;

    const std::string reference = work.path("reference.txt");
    testing::commandOutput("save2gdf -f=ASCII " + source.string() + " " + reference + " 2>&1");
    std::ifstream in(reference);
    const std::string header((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> labels = headerValues(header, "Label");
    const std::vector<std::string> rates = headerValues(header, "SamplingRate");
    ASSERT_FALSE(rates.empty()) << header;
    const double frequencyHz = std::stod(rates.front());

    const std::string info = runHolter("info --home " + home).out;
    const long blocks = jsonNumber(info, "blocks");
    const double seconds = numbersIn(work.path("reference.a01")).size() / frequencyHz;
    EXPECT_LE(std::abs(blocks * 10.0 - seconds), 10.0) << "the duration within one block";
    // A date libbiosig makes no sense of (the year 53255) is no date.
    const std::vector<std::string> time = headerValues(header, "Recording.Time");
    ASSERT_FALSE(time.empty());
    const bool dated = time.front().size() >= 10 && time.front()[4] == '-' && time.front() >= "1980";
    const std::string date = dated ? "\"" + time.front().substr(0, 10) + "\"" : "null";
    EXPECT_NE(info.find("\"startDate\": " + date), std::string::npos) << info;

    const std::vector<std::vector<double>> recording = decoded(home, blocks);
    for (size_t c = 0; c < 2; ++c) {
        const auto lead = std::find(labels.begin(), labels.end(), GetParam().leads[c]);
        ASSERT_NE(lead, labels.end()) << GetParam().leads[c];
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".a%02d", static_cast<int>(lead - labels.begin()) + 1);
        const std::vector<double> ticks = atTicks(numbersIn(work.path("reference" + std::string(suffix))), frequencyHz);
        const double r = correlation(ticks, recording[c]);
        EXPECT_GE(r, kLeastCorrelation) << GetParam().file << " channel " << c + 1 << " (" << *lead << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, OtherFormat,
                         ::testing::Values(FormatCase{"scp_ecgtoolkit_Example.scp", {"I", "II"}},
                                           FormatCase{"scp_ecgcontec_demo.scp", {"I", "II"}},
                                           FormatCase{"scp_scptools_ECG_20060620_112352_ANON000002.scp", {"I", "II"}},
                                           FormatCase{"scp_scptools_ECG_20070321_110542_ANON000004.scp", {"I", "II"}},
                                           FormatCase{"aecg_hl7_example_Example_aECG.xml", {"I", "II"}}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

#ifndef _WIN32
struct ReaderCase {
    const char* name;
    const char* script;   // the stand-in reader's body
    const char* message;  // what the import must say
};

void PrintTo(const ReaderCase& c, std::ostream* out) { *out << c.name; }

class BrokenReader : public ::testing::TestWithParam<ReaderCase> {};

// libbiosig crashing or hanging on a file: the stand-in reader does what
// it would, and the import ends with a message, no home and no scratch left.
TEST_P(BrokenReader, EndsAsAMessageNamingTheFile) {
    if (!readsOtherFormats()) GTEST_SKIP() << "this holter reads no other formats";
    testing::TempHome work;
    const std::string reader = work.path("reader.sh");
    std::ofstream(reader) << "#!/bin/sh\n" << GetParam().script << "\n";
    fs::permissions(reader, fs::perms::owner_all);
    const std::string source = work.path("strange.dcm");
    std::ofstream(source) << "DICM";
    fs::create_directories(work.path("tmp"));
    const std::string environment =
        "TMPDIR=" + work.path("tmp") + " LUMEN_BIOSIG_READER=" + reader + " LUMEN_BIOSIG_DEADLINE_SECONDS=2 ";
    const testing::CommandRun broken =
        testing::runCommand(environment + LUMEN_HOLTER_PATH + " import " + source + " " + work.path("home") + " 2>&1");
    EXPECT_EQ(broken.status, 255);
    EXPECT_NE(broken.out.find(source), std::string::npos) << broken.out;
    EXPECT_NE(broken.out.find(GetParam().message), std::string::npos) << broken.out;
    EXPECT_FALSE(fs::exists(work.path("home")));
    EXPECT_TRUE(fs::is_empty(work.path("tmp"))) << "the scratch folder stayed";
}

INSTANTIATE_TEST_SUITE_P(Readers, BrokenReader,
                         ::testing::Values(ReaderCase{"Crash", "kill -SEGV $$", "libbiosig crashed reading it"},
                                           ReaderCase{"Hang", "exec sleep 30", "did not finish reading it within 2 s"},
                                           ReaderCase{"Refusal", "echo \"$2: libbiosig cannot read it\" >&2; exit 255",
                                                      "libbiosig cannot read it"}),
                         [](const auto& info) { return std::string(info.param.name); });
#else
TEST(OtherFormat, WindowsRefusesThemWithAMessage) {
    testing::TempHome work;
    const std::string source = work.path("ecg.scp");
    std::ofstream(source) << "SCP";
    const ToolRun run = runHolter("import " + source + " " + work.path("home"));
    EXPECT_EQ(run.status, 255);
    EXPECT_NE(run.out.find("this build reads no other formats"), std::string::npos) << run.out;
}
#endif

}  // namespace
}  // namespace lumen
