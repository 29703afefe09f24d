// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// holter import SOURCE DIR [--channels A,B] [--annotations FILE] [--detect]
//   [--language L] [--patient TEXT] [--force]
int runImport(const ToolArguments& arguments);

}  // namespace lumen
