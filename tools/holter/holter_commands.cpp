// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/holter_commands.h"

#include <array>

#include "holter/demo_command.h"
#include "holter/events_command.h"
#include "holter/export_command.h"
#include "holter/forms_command.h"
#include "holter/import_command.h"
#include "holter/info_command.h"
#include "holter/score_command.h"
#ifdef LUMEN_WITH_STUDY_REPORT
#include "holter/report_command.h"
#endif
#ifdef LUMEN_WITH_BIOSIG
#include "holter/biosig_command.h"
#endif

namespace lumen {

std::span<const HolterCommand> holterCommands() {
    static constexpr std::string_view kDemoOptions[] = {"--hours", "--seed", "--language"};
    static constexpr std::string_view kDemoFlags[] = {"--force"};
    static constexpr std::string_view kImportOptions[] = {"--channels", "--annotations", "--language", "--patient"};
    static constexpr std::string_view kImportFlags[] = {"--detect", "--force"};
    static constexpr std::string_view kExportOptions[] = {"--edf", "--wfdb"};
    static constexpr std::string_view kScoreOptions[] = {"--from"};
    static constexpr std::string_view kRelabelOptions[] = {"--form", "--class"};
#ifdef LUMEN_WITH_STUDY_REPORT
    static constexpr std::string_view kReportOptions[] = {"--pdf", "--json", "--paper", "--interpretation",
                                                          "--reviewer"};
#endif
    static const auto commands = std::to_array<HolterCommand>({
        {"demo", kDemoOptions, &runDemo, kDemoFlags},
        {"info", {}, &runInfo},
        {"decode", {}, &runDecode},
        {"events", {}, &runEvents},
        {"import", kImportOptions, &runImport, kImportFlags},
        {"export", kExportOptions, &runExport},
        {"score", kScoreOptions, &runScore},
        {"forms", {}, &runForms},
        {"relabel", kRelabelOptions, &runRelabel},
#ifdef LUMEN_WITH_STUDY_REPORT
        {"report", kReportOptions, &runReport},
#endif
#ifdef LUMEN_WITH_BIOSIG
        {"biosig", {}, &runBiosig},
#endif
    });
    return commands;
}

}  // namespace lumen
