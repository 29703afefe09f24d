// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen::testing {

// What a shell command wrote to its standard output, and its exit status
// (-1 when it did not exit by itself). Reading to the end of the output also
// waits for whatever the command started that still holds it.
struct CommandRun {
    int status = -1;
    std::string out;
};
CommandRun runCommand(const std::string& command);
inline std::string commandOutput(const std::string& command) { return runCommand(command).out; }

// Whether every program of the blank-separated list is on the search path.
bool installed(const std::string& programs);

}  // namespace lumen::testing
