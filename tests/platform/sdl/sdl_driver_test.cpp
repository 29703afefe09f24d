// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "platform/sdl/sdl_driver.h"

// SDL loads the X11 libraries at run time and unloads them at quit; what
// they keep for the process cannot be told apart from a leak any more.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#include "platform/window/test_app.h"
#include "support/command_run.h"
#include "support/x_server.h"

namespace lumen::testing {
namespace {

// An X server of its own for the test: display :N on a 1024 x 768 screen.
class XvfbTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!installed("Xvfb xdotool xprop")) {
            GTEST_SKIP() << "Xvfb, xdotool or xprop is not installed";
        }
        server = std::make_unique<XServer>();
        displayName = server->display();
        ASSERT_FALSE(displayName.empty()) << "Xvfb did not start";
        ::setenv("DISPLAY", displayName.c_str(), 1);
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
    }

    // Handles messages until `done` holds, at most a few seconds.
    bool runUntil(WindowSystem& system, const std::function<bool()>& done) {
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

    std::string displayName;
    std::unique_ptr<XServer> server;
};

// The credit text of Ctrl+Shift+Alt+P lies outside ASCII: both the name a
// window manager reads today and the legacy one must hold it, in UTF-8.
TEST_F(XvfbTest, TitleOutsideAsciiReachesBothWindowNamesUnderAWindowManager) {
    if (!installed("xprop openbox")) {
        GTEST_SKIP() << "xprop or openbox is not installed";
    }
    // openbox lists its clients on the root window once its start is over; a
    // window mapped while it starts may never be mapped, and SDL waits for
    // that without end. On a loaded machine openbox sometimes fails to reach
    // a server that has just come up: it is started again.
    pid_t manager = -1;
    bool managing = false;
    for (int attempt = 0; attempt < 3 && !managing; ++attempt) {
        manager = ::fork();
        if (manager == 0) {
            ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool exited = false;
        while (!managing && !exited && std::chrono::steady_clock::now() < until) {
            managing = commandOutput("xprop -root _NET_CLIENT_LIST").find("(WINDOW)") != std::string::npos;
            exited = !managing && ::waitpid(manager, nullptr, WNOHANG) == manager;
            if (!managing) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (!managing && !exited) {
            ::kill(manager, SIGTERM);
            ::waitpid(manager, nullptr, 0);
        }
    }
    ASSERT_TRUE(managing) << "openbox did not start";
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
