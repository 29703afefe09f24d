// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/x_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace lumen::testing {
namespace {

constexpr int kStartWaitMs = 20000;

}  // namespace

XServer::XServer() {
    int report[2];
    if (::pipe(report) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(report[0]);
        const std::string fd = std::to_string(report[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(report[1]);
    // The number and its line end come in two writes; the pipe stays open until both are read.
    std::string number;
    pollfd wanted{report[0], POLLIN, 0};
    char c = 0;
    while (number.find('\n') == std::string::npos && ::poll(&wanted, 1, kStartWaitMs) == 1 &&
           ::read(report[0], &c, 1) == 1) {
        number += c;
    }
    if (number.find('\n') != std::string::npos) display_ = ":" + std::to_string(std::atoi(number.c_str()));
    ::close(report[0]);
}

void XServer::end(int signal) {
    if (pid_ <= 0) return;
    ::kill(pid_, signal);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace lumen::testing
