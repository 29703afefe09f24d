// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/import_command.h"

#include <cstdio>

#include "assembly/home_files.h"
#include "import/home_import.h"

namespace lumen {
namespace {

constexpr int kFailure = 255;

}  // namespace

int runImport(const ToolArguments& arguments) {
    if (arguments.positional.size() != 2) return 2;
    HomeImportRequest request;
    if (const auto text = arguments.option("--language")) {
        const auto number = parseInteger(*text);
        if (!number || !HomeFiles::validLanguage(static_cast<int>(*number))) {
            std::fprintf(stderr, "%s\n", HomeFiles::languageProblem(*text).c_str());
            return 2;
        }
        request.language = static_cast<int>(*number);
    }
    request.source = arguments.positional[0];
    request.home = arguments.positional[1];
    request.channels = arguments.option("--channels").value_or("");
    request.annotations = arguments.option("--annotations").value_or("");
    request.detect = arguments.flag("--detect");
    request.patient = arguments.option("--patient").value_or("");
    request.replace = arguments.flag("--force");
    const HomeImportResult result = HomeImport::run(request);
    for (const std::string& warning : result.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    for (const std::string& note : result.notes) std::fprintf(stderr, "%s\n", note.c_str());
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.problem.c_str());
        return kFailure;
    }
    std::printf("%s\n", result.summary.c_str());
    return 0;
}

}  // namespace lumen
