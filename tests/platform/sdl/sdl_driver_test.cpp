#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/sdl/sdl_driver.h"

// SDL loads the X11 libraries at run time and unloads them at quit; what
// they keep for the process cannot be told apart from a leak any more.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#include "platform/window/test_app.h"
#include "support/command_run.h"

namespace lumen::testing {
namespace {

// An X server of its own for the test: display :N on a 1024 x 768 screen.
class XvfbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!installed("Xvfb xdotool xprop")) {
            GTEST_SKIP() << "Xvfb, xdotool or xprop is not installed";
        }
        const int display = 70 + static_cast<int>(::getpid() % 50);
        displayName = ":" + std::to_string(display);
        server = ::fork();
        if (server == 0) {
            ::execlp("Xvfb", "Xvfb", displayName.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
        for (int attempt = 0; attempt < 200 && !std::filesystem::exists(socket); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        ASSERT_TRUE(std::filesystem::exists(socket)) << "Xvfb did not start";
        ::setenv("DISPLAY", displayName.c_str(), 1);
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    void TearDown() override
    {
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
    }

    // Handles messages until `done` holds, at most a few seconds.
    bool runUntil(WindowSystem& system, const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        Message message;
        while (!done() && std::chrono::steady_clock::now() < until) {
            if (!system.getMessage(message)) {
                return false;
            }
            system.translateMessage(message);
            system.dispatchMessage(message);
        }
        return done();
    }

    static std::string home() { return ::testing::TempDir(); }

    std::string displayName;
    pid_t server = 0;
};

// The credit text of Ctrl+Shift+Alt+P lies outside ASCII: both the name a
// window manager reads today and the legacy one must hold it, in UTF-8.
TEST_F(XvfbTest, TitleOutsideAsciiReachesBothWindowNamesUnderAWindowManager)
{
    if (!installed("xprop openbox")) {
        GTEST_SKIP() << "xprop or openbox is not installed";
    }
    const pid_t manager = ::fork();
    if (manager == 0) {
        ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // openbox lists its clients on the root window once its start is over; a
    // window mapped while it starts may never be mapped, and SDL waits for
    // that without end.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (commandOutput("xprop -root _NET_CLIENT_LIST").find("(WINDOW)") == std::string::npos &&
           std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    {
        SdlDriver driver;
        ASSERT_TRUE(driver.isReady());
        WindowSystem system(driver);
        TestApp app(system);
        system.setTimer(app.main, 1, 50);
        const std::string credit = "Lumen \xE2\x80\x94 written by the Lumen developers";
        system.setWindowText(app.main, credit);
        ASSERT_TRUE(runUntil(system, [] { return logged(WM_TIMER).size() >= 2; }));
        const std::string window = commandOutput("xdotool search --name 'written by' | head -n 1 | tr -d '\\n'");
        ASSERT_FALSE(window.empty());
        const std::string names = commandOutput("LC_ALL=C.UTF-8 xprop -id " + window + " _NET_WM_NAME WM_NAME");
        EXPECT_NE(names.find("_NET_WM_NAME(UTF8_STRING) = \"" + credit + "\""), std::string::npos) << names;
        EXPECT_NE(names.find("WM_NAME(UTF8_STRING) = \"" + credit + "\""), std::string::npos) << names;
        const std::string seen = commandOutput("LC_ALL=C.UTF-8 xprop -id " + window + " _NET_WM_VISIBLE_NAME");
        EXPECT_NE(seen.find(credit), std::string::npos) << "the title openbox shows: " << seen;
        // The window manager gets the program's icon for its task bar and title.
        const std::string icon = commandOutput("xprop -id " + window + " _NET_WM_ICON | head -c 200");
        EXPECT_NE(icon.find("Icon (48 x 48)"), std::string::npos) << icon;
    }
    ::kill(manager, SIGTERM);
    ::waitpid(manager, nullptr, 0);
}

}  // namespace
}  // namespace lumen::testing
