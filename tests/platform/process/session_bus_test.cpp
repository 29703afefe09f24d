// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/process/session_bus.h"
#include "support/command_run.h"
#include "support/private_bus.h"

namespace lumen {
namespace {

std::vector<uint32_t> receiveSome(ProgramMessages& bus) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        auto received = bus.takeReceived();
        if (!received.empty()) {
            return received;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

using SessionBusTest = testing::PrivateBusTest;

TEST_F(SessionBusTest, CloseRequestSignalReachesTheViewerButNotItsSender) {
    SessionBus viewer;
    SessionBus host;
    ASSERT_TRUE(viewer.isConnected());
    EXPECT_TRUE(host.broadcast(0x221));  // not a close request: ignored
    EXPECT_TRUE(host.broadcast(0x220));
    EXPECT_EQ(receiveSome(viewer), (std::vector<uint32_t>{0x220}));
    EXPECT_TRUE(host.takeReceived().empty());  // its own signal does not come back
}

TEST_F(SessionBusTest, ExitBroadcastThroughTheProgramMessagesCarries545) {
    const std::unique_ptr<ProgramMessages> listener = openProgramMessages(0x221);
    const std::unique_ptr<ProgramMessages> viewer = openProgramMessages(0x220);
    EXPECT_TRUE(viewer->broadcast(0x221));
    EXPECT_EQ(receiveSome(*listener), (std::vector<uint32_t>{545}));
}

TEST_F(SessionBusTest, CloseRequestMethodCall) {
    SessionBus viewer;
    ASSERT_TRUE(viewer.isConnected());
    ASSERT_EQ(std::system("dbus-send --session --dest=org.lumen.Viewer --type=method_call "
                          "/org/lumen/Viewer org.lumen.Viewer.PostMessage uint32:544"),
              0);
    EXPECT_EQ(receiveSome(viewer), (std::vector<uint32_t>{544}));
}

TEST(SessionBusWithoutBusTest, DoesNothing) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    SessionBus bus;
    EXPECT_FALSE(bus.isConnected());
    EXPECT_FALSE(bus.broadcast(0x221));
    EXPECT_TRUE(bus.takeReceived().empty());
}

}  // namespace
}  // namespace lumen
