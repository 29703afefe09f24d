// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

namespace lumen {

// The words after the program's name, as UTF-8 like every path inside the
// program. Windows hands main() its arguments in the ANSI code page, where
// a Cyrillic folder name is question marks, so there they are read again
// from the wide command line.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace lumen
