// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/types.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lumen::testing {

// A D-Bus session bus of the test's own, named in DBUS_SESSION_BUS_ADDRESS
// while it lives; it starts none of the machine's services.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when dbus-daemon did not start.
    const std::string& address() const { return address_; }

private:
    std::string config_;
    std::string address_;
    pid_t daemon_ = 0;
};

// Tests that talk over a private bus; skipped where dbus-daemon is missing.
class PrivateBusTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<PrivateBus> bus;
};

}  // namespace lumen::testing
