// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/command_run.h"

namespace lumen::testing {

// cmd.exe runs the command; _pclose gives its exit code, kept to its low
// eight bits as a POSIX parent sees it (the viewer's -1 is 255 on both). The
// output is read in text mode, CR LF as "\n", as the tests compare it on
// every system.
CommandRun runCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = _popen(command.c_str(), "rt");
    if (pipe == nullptr) return run;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.out.append(chunk, got);
    run.status = _pclose(pipe) & 0xFF;
    return run;
}

bool installed(const std::string& programs) {
    std::istringstream names(programs);
    for (std::string name; names >> name;) {
        if (std::system(("where /q " + name + " >nul 2>&1").c_str()) != 0) return false;
    }
    return true;
}

}  // namespace lumen::testing
