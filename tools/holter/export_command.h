// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// holter export [--home DIR] [RECDIR] (--edf FILE | --wfdb DIR)
int runExport(const ToolArguments& arguments);

}  // namespace lumen
