// SPDX-License-Identifier: GPL-3.0-or-later
// Every number `holter report --json` prints, counted again from the
// recording's beat words, episode records and trend tables by the
// definitions of docs/report.md, with code that shares nothing with the
// report's own.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/recording.h"
#include "store/section_id.h"
#include "store/trend_table.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"
#include "tools/report/study_recount.h"

namespace lumen {
namespace {

constexpr size_t kLeastPdfBytes = 4096;

struct ReportCase {
    const char* name;
    const char* record;  // below physionet/; none for the demo day
    bool reviewerExclusions = false;
};

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

// The document as dotted paths ("hours.3.hrMax") to their values' JSON
// text, an array's own path holding its number of items; only as strict as
// the comparisons need.
struct FlatJson {
    std::string_view text;
    size_t at = 0;
    std::map<std::string, std::string> values{};

    bool read() { return value("") && (skip(), at == text.size()); }
    void skip() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    }
    bool eat(char c) {
        skip();
        return at < text.size() && text[at] == c && (++at, true);
    }
    // A string with its quotes, a number or a literal; empty if none.
    std::string token() {
        skip();
        const size_t from = at;
        if (at < text.size() && text[at] == '"') {
            for (++at; at < text.size() && text[at] != '"'; ++at) at += text[at] == '\\';
            ++at;
        } else {
            while (at < text.size() && std::string_view("+-.0123456789Eaeflnrstu").find(text[at]) != text.npos) ++at;
        }
        return at <= text.size() ? std::string(text.substr(from, at - from)) : std::string();
    }
    bool value(const std::string& path) {
        const std::string prefix = path.empty() ? path : path + ".";
        if (eat('{')) {
            if (eat('}')) return true;
            do {
                const std::string key = token();
                if (key.size() < 2 || key[0] != '"' || !eat(':') || !value(prefix + key.substr(1, key.size() - 2)))
                    return false;
            } while (eat(','));
            return eat('}');
        }
        if (eat('[')) {
            size_t items = 0;
            if (!eat(']')) {
                do {
                    if (!value(prefix + std::to_string(items++))) return false;
                } while (eat(','));
                if (!eat(']')) return false;
            }
            return values.emplace(path, std::to_string(items)).second;
        }
        const std::string scalar = token();
        return !scalar.empty() && values.emplace(path, scalar).second;
    }
};

void expectPrinted(const std::map<std::string, std::string>& printed, const Expectations& expected) {
    for (const Expected& e : expected) {
        const auto found = printed.find(e.path);
        const std::string token = found == printed.end() ? "nothing" : found->second;
        char* end = nullptr;
        const double number = std::strtod(token.c_str(), &end);
        if (!e.token.empty()) {
            EXPECT_EQ(token, e.token) << e.path;
        } else {
            EXPECT_TRUE(token[0] != '"' && *end == '\0') << e.path << " is not a number: " << token;
            EXPECT_NEAR(number, e.value, e.tolerance) << e.path;
        }
    }
}

std::filesystem::path sourceOf(const ReportCase& c) {
    const std::filesystem::path folder = physionetFolder();
    return folder.empty() ? folder : folder / (std::string(c.record) + ".hea");
}

class ReportNumbers : public ::testing::TestWithParam<ReportCase> {
protected:
    // The home of the case's recording, or empty (with the failure said).
    std::string homeOf(const ReportCase& c) {
        if (c.record == nullptr) {
            // The 24-hour demo day takes seconds to build: once for all cases.
            static testing::TempHome demoScratch;
            static const ToolRun demo = runHolter("demo " + demoScratch.path("demo"));
            EXPECT_EQ(demo.status, 0) << demo.out;
            return demo.status == 0 ? demoScratch.path("demo") : std::string();
        }
        const std::string home = scratch_.path("imported");
        const ToolRun imported = runHolter("import " + sourceOf(c).string() + " " + home);
        EXPECT_EQ(imported.status, 0) << imported.out;
        return imported.status == 0 ? home : std::string();
    }

    testing::TempHome scratch_;
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
#ifdef _WIN32
    // Windows writes PDF files through a PDF printer, which Wine lacks; the
    // numbers come first and are checked all the same.
    const bool pdfWritten = report.status == 0;
    if (!pdfWritten) EXPECT_NE(report.out.find("no PDF printer is installed"), std::string::npos) << report.out;
#else
    const bool pdfWritten = true;
    ASSERT_EQ(report.status, 0) << report.out;
#endif
    if (pdfWritten) {
        const std::vector<uint8_t> pdfBytes = scratch_.readFile(pdf);
        ASSERT_GE(pdfBytes.size(), kLeastPdfBytes);
        EXPECT_EQ(std::string(pdfBytes.begin(), pdfBytes.begin() + 4), "%PDF");
    }
    const std::string text = scratch_.readText(json);
    FlatJson printed{text};
    ASSERT_TRUE(printed.read()) << "malformed JSON near byte " << printed.at;
    expectPrinted(printed.values, recount(home + "/", home + "/recording"));
}

INSTANTIATE_TEST_SUITE_P(Recordings, ReportNumbers, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumen
