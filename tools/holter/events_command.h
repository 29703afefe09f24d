// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// `holter events`: every event after the start-up feed, rows 0 to 17.
int runEvents(const ToolArguments& arguments);

}  // namespace lumen
