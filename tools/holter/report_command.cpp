// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/report_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "holter/fed_recording.h"
#include "holter/home_patient.h"
#include "lang/language_texts.h"
#include "lang/text_format.h"
#include "platform/print/paper_size.h"
#include "print/job_print_host.h"
#include "print/study_report.h"
#include "store/fatal_error.h"
#include "study/study_calculator.h"
#include "study/study_json.h"

namespace lumen {
namespace {

// An interpretation longer than this is no interpretation but a wrong file.
constexpr long kLongestInterpretationBytes = 64 * 1024;

[[noreturn]] void fail(const std::string& message) { raiseFatal(message); }

std::string readInterpretation(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) fail("Cannot read the interpretation " + path + ": " + std::strerror(errno) + ".");
    std::string text(static_cast<size_t>(kLongestInterpretationBytes) + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    if (text.size() > static_cast<size_t>(kLongestInterpretationBytes))
        fail("The interpretation " + path + " is longer than 64 KiB; give a text file of the physician's words.");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// A file is written without asking; its failures end the tool.
class FilePrintHost final : public JobPrintHost {
public:
    bool confirm(std::string_view, std::string_view) override { return true; }
    void showError(std::string_view text, std::string_view) override { fail(std::string(text)); }
};

void writeJson(const std::string& path, const std::string& text) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    const std::string line = text + "\n";
    if (!file || std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fflush(file.get()) != 0)
        fail("Cannot write the report's numbers to " + path + ": " + std::strerror(errno) + ".");
}

}  // namespace

int runReport(const ToolArguments& arguments) {
    const auto pdf = arguments.option("--pdf");
    if (!pdf || arguments.positional.size() > 1) return 2;
    const std::optional<PaperSize> paper = PaperSize::named(arguments.option("--paper").value_or("a4"));
    if (!paper) return 2;
    const std::string interpretation =
        arguments.option("--interpretation") ? readInterpretation(*arguments.option("--interpretation")) : "";

    const auto fed = feedRecording(arguments);
    Recording& recording = *fed->recording;
    const StudyInput input = StudyInput::read(recording, fed->trends, fed->catalog->row(kToPrinterRow).count());
    const StudyFigures figures = StudyCalculator::compute(input);
    if (const auto json = arguments.option("--json")) writeJson(*json, StudyJson::text(figures));

    const LanguageTexts texts(homeLanguage(arguments.programDirectory));
    const std::string patient = homePatientText(recording, arguments.programDirectory);
    const StudyReportSources sources{
        .figures = figures,
        .input = input,
        .recording = recording,
        .flaggedEvents = StudyReport::flaggedEvents(*fed->catalog, recording),
        .patientLine = format(texts, TextId::ReportPatient, patient.c_str()),
        .interpretation = interpretation,
        .reviewer = arguments.option("--reviewer").value_or(""),
        .reportDate = StudyReport::todayIso(),
        .unitsPerMillivolt = recording.amplitudeCode(),
        .sheetHundredthMm = paper->hundredthMm,
    };

    FilePrintHost host;
    const Printer printer{*pdf, PrinterKind::File, *pdf, *paper};
    const std::unique_ptr<PageOutput> output = host.startJob(printer, StudyReport::kDocumentName);
    if (!output) fail("Cannot write the report " + *pdf + ": " + host.jobFailure() + ".");
    if (!StudyReport::print(*output, sources)) fail("Cannot write the report " + *pdf + ": " + output->failure() + ".");
    std::printf("%s: %d pages, %lld strips\n", pdf->c_str(), StudyReport::pageCount(sources),
                static_cast<long long>(figures.strips));
    return 0;
}

}  // namespace lumen
