// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// holter report: the study report of a recording as a PDF, and its numbers as JSON.
int runReport(const ToolArguments& arguments);

}  // namespace lumen
