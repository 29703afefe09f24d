// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

namespace lumen {

// How a program run as a child ended.
struct ChildRun {
    // The status of a child that could not become the program (as a shell's).
    static constexpr int kCannotExecuteStatus = 127;

    bool started = false;
    bool timedOut = false;  // stopped after the deadline
    int exitStatus = -1;    // its status when it exited by itself
    int signal = 0;         // the signal that ended it (a crash), else 0
    std::string errorText;  // what it wrote to standard error, at most 64 KiB

    bool succeeded() const { return started && !timedOut && signal == 0 && exitStatus == 0; }
};

// Runs `program` with `arguments` (no shell) and waits for it, at most
// `deadlineSeconds`; a child still running then is killed. Its standard
// output is discarded. POSIX only: a program that may crash or hang on a
// file stays out of the caller's process this way.
ChildRun runChildProgram(const std::string& program, const std::vector<std::string>& arguments, int deadlineSeconds);

// The file of another program installed beside the running one.
std::string siblingProgram(const std::string& name);

}  // namespace lumen
