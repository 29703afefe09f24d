// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// `holter info`: what a recording holds, as one JSON object.
int runInfo(const ToolArguments& arguments);

// `holter decode`: blocks as the viewer fetches them, one line per sample.
int runDecode(const ToolArguments& arguments);

}  // namespace lumen
