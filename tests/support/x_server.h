// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <signal.h>
#include <sys/types.h>

#include <string>

namespace lumen::testing {

// Xvfb on the first free display number, which it reports through a pipe:
// a fixed number could meet another test's server, or xvfb-run's.
class XServer {
public:
    XServer();
    ~XServer() { end(SIGTERM); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // SIGKILL is an X server that crashed, or a remote display dropped.
    void end(int signal);
    // ":N", or empty when the server did not start.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace lumen::testing
