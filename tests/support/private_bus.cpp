// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/private_bus.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/command_run.h"

namespace lumen::testing {

PrivateBus::PrivateBus()
    : config_(
          (std::filesystem::temp_directory_path() / ("lumen_bus_" + std::to_string(::getpid()) + ".conf")).string()) {
    std::ofstream(config_) << "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                              "</policy></busconfig>\n";
    FILE* output =
        ::popen(("dbus-daemon --fork --print-address=1 --print-pid=1 --config-file=" + config_).c_str(), "r");
    if (output == nullptr) return;
    char line[512] = {};
    if (std::fgets(line, sizeof line, output) != nullptr) address_ = line;
    if (std::fgets(line, sizeof line, output) != nullptr) daemon_ = static_cast<pid_t>(std::atol(line));
    ::pclose(output);
    address_.erase(address_.find_last_not_of('\n') + 1);
    if (!address_.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

PrivateBus::~PrivateBus() {
    if (daemon_ > 0) ::kill(daemon_, SIGTERM);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    std::filesystem::remove(config_);
}

void PrivateBusTest::SetUp() {
    if (!installed("dbus-daemon")) GTEST_SKIP() << "dbus-daemon is not installed";
    bus = std::make_unique<PrivateBus>();
    ASSERT_FALSE(bus->address().empty()) << "dbus-daemon did not start";
}

}  // namespace lumen::testing
