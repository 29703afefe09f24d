#include "holter/holter_commands.h"

#include <array>

#include "holter/demo_command.h"
#include "holter/events_command.h"
#include "holter/info_command.h"

namespace lumen {

std::span<const HolterCommand> holterCommands() {
    static constexpr std::string_view kDemoOptions[] = {"--hours", "--seed", "--language"};
    static constexpr std::string_view kDemoFlags[] = {"--force"};
    static const std::array<HolterCommand, 4> commands = {{
        {"demo", kDemoOptions, &runDemo, kDemoFlags},
        {"info", {}, &runInfo},
        {"decode", {}, &runDecode},
        {"events", {}, &runEvents},
    }};
    return commands;
}

}  // namespace lumen
