// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "holter/tool_arguments.h"

namespace lumen {

// `holter biosig SOURCE DIR`: a file libbiosig reads, written as the WFDB
// record DIR/converted. The import runs it as a child for every format it
// does not read itself; a crash or hang of libbiosig ends only this process.
int runBiosig(const ToolArguments& arguments);

}  // namespace lumen
