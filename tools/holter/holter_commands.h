// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string_view>

#include "holter/tool_arguments.h"

namespace lumen {

// One subcommand of `holter`: its name, the options it takes besides
// --home, and what runs it (status 2 asks for the usage text); options named
// in `flags` take no value.
struct HolterCommand {
    std::string_view name;
    std::span<const std::string_view> options;
    int (*run)(const ToolArguments&);
    std::span<const std::string_view> flags = {};
};

std::span<const HolterCommand> holterCommands();

}  // namespace lumen
