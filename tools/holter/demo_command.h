// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// `holter demo DIR`: a complete program home with a synthetic recording.
int runDemo(const ToolArguments& arguments);

}  // namespace lumen
