// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/command_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace lumen::testing {

CommandRun runCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.out.append(chunk, got);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

bool installed(const std::string& programs) {
    std::istringstream names(programs);
    for (std::string name; names >> name;) {
        if (std::system(("command -v " + name + " > /dev/null 2>&1").c_str()) != 0) return false;
    }
    return true;
}

}  // namespace lumen::testing
