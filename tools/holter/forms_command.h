// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// `holter forms`: the recording's beat forms as JSON (id, class, count).
int runForms(const ToolArguments& arguments);

// `holter relabel --form K --class C`: every beat of form K gets class C,
// then the episodes and trend tables are derived again; saved as one
// update through the recording's journal.
int runRelabel(const ToolArguments& arguments);

}  // namespace lumen
