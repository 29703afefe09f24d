#include "holter/holter_commands.h"

#include <array>

#include "holter/demo_command.h"
#include "holter/events_command.h"
#include "holter/export_command.h"
#include "holter/forms_command.h"
#include "holter/import_command.h"
#include "holter/info_command.h"
#include "holter/score_command.h"

namespace lumen {

std::span<const HolterCommand> holterCommands() {
    static constexpr std::string_view kDemoOptions[] = {"--hours", "--seed", "--language"};
    static constexpr std::string_view kDemoFlags[] = {"--force"};
    static constexpr std::string_view kImportOptions[] = {"--channels", "--annotations", "--language", "--patient"};
    static constexpr std::string_view kImportFlags[] = {"--detect", "--force"};
    static constexpr std::string_view kExportOptions[] = {"--edf", "--wfdb"};
    static constexpr std::string_view kScoreOptions[] = {"--from"};
    static constexpr std::string_view kRelabelOptions[] = {"--form", "--class"};
    static const std::array<HolterCommand, 9> commands = {{
        {"demo", kDemoOptions, &runDemo, kDemoFlags},
        {"info", {}, &runInfo},
        {"decode", {}, &runDecode},
        {"events", {}, &runEvents},
        {"import", kImportOptions, &runImport, kImportFlags},
        {"export", kExportOptions, &runExport},
        {"score", kScoreOptions, &runScore},
        {"forms", {}, &runForms},
        {"relabel", kRelabelOptions, &runRelabel},
    }};
    return commands;
}

}  // namespace lumen
