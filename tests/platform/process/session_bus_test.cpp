#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/process/session_bus.h"

namespace lumen {
namespace {

std::vector<uint32_t> receiveSome(ProgramMessages& bus)
{
    for (int attempt = 0; attempt < 300; ++attempt) {
        auto received = bus.takeReceived();
        if (!received.empty()) {
            return received;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

// A private session bus for one test.
class SessionBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v dbus-daemon > /dev/null 2>&1") != 0) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        FILE* output = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        ASSERT_NE(output, nullptr);
        char line[512] = {};
        if (std::fgets(line, sizeof line, output) != nullptr) {
            address = line;
            address.erase(address.find_last_not_of("\n") + 1);
        }
        if (std::fgets(line, sizeof line, output) != nullptr) {
            daemon = static_cast<pid_t>(std::atol(line));
        }
        ::pclose(output);
        ASSERT_FALSE(address.empty());
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    }
    void TearDown() override
    {
        if (daemon > 0) {
            ::kill(daemon, SIGTERM);
        }
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    std::string address;
    pid_t daemon = 0;
};

TEST_F(SessionBusTest, CloseRequestSignalReachesTheViewerButNotItsSender)
{
    SessionBus viewer;
    SessionBus host;
    ASSERT_TRUE(viewer.isConnected());
    EXPECT_TRUE(host.broadcast(0x221));  // not a close request: ignored
    EXPECT_TRUE(host.broadcast(0x220));
    EXPECT_EQ(receiveSome(viewer), (std::vector<uint32_t>{0x220}));
    EXPECT_TRUE(host.takeReceived().empty());  // its own signal does not come back
}

TEST_F(SessionBusTest, ExitBroadcastThroughTheProgramMessagesCarries545)
{
    const std::unique_ptr<ProgramMessages> listener = openProgramMessages(0x221);
    const std::unique_ptr<ProgramMessages> viewer = openProgramMessages(0x220);
    EXPECT_TRUE(viewer->broadcast(0x221));
    EXPECT_EQ(receiveSome(*listener), (std::vector<uint32_t>{545}));
}

TEST_F(SessionBusTest, CloseRequestMethodCall)
{
    SessionBus viewer;
    ASSERT_TRUE(viewer.isConnected());
    ASSERT_EQ(std::system("dbus-send --session --dest=org.lumen.Viewer --type=method_call "
                          "/org/lumen/Viewer org.lumen.Viewer.PostMessage uint32:544"),
              0);
    EXPECT_EQ(receiveSome(viewer), (std::vector<uint32_t>{544}));
}

TEST(SessionBusWithoutBusTest, DoesNothing)
{
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    SessionBus bus;
    EXPECT_FALSE(bus.isConnected());
    EXPECT_FALSE(bus.broadcast(0x221));
    EXPECT_TRUE(bus.takeReceived().empty());
}

}  // namespace
}  // namespace lumen
