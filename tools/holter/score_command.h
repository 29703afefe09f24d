// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// holter score [--home DIR] [RECDIR] REFERENCE [RECDIR REFERENCE ...]:
// the recording's beats against WFDB reference annotations, beat by beat.
int runScore(const ToolArguments& arguments);

}  // namespace lumen
