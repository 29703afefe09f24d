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

namespace lumen::testing {
namespace {

bool installed(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

// An X server of its own for the test: display :N on a 1024 x 768 screen.
class XvfbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!installed("Xvfb") || !installed("xdotool") || !installed("xprop")) {
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

    // Runs an xdotool command in the background, as a user's hand would.
    void xdotool(const std::string& arguments)
    {
        const std::string command = "xdotool " + arguments + " > /dev/null 2>&1 &";
        ASSERT_EQ(std::system(command.c_str()), 0);
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

TEST_F(XvfbTest, RealWindowIsMaximisedAndARealClickArrivesAsACommand)
{
    SdlDriver driver;
    ASSERT_TRUE(driver.isReady());
    EXPECT_EQ(driver.screenSize(), (Size{1024, 768}));
    WindowSystem system(driver);
    TestApp app(system);
    system.setTimer(app.main, 1, 50);  // keeps the loop turning while we wait

    const auto sizes = logged(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes[0].window, "main");
    EXPECT_EQ(sizes[0].wParam, SIZE_MAXIMIZED);
    EXPECT_GT(xFromLParam(sizes[0].lParam), 0);

    // Let the first paint reach the screen, then click button 1001 (screen 110..170, 30..54).
    ASSERT_TRUE(runUntil(system, [] { return logged(WM_TIMER).size() >= 2; }));
    // A window whose program gave it no title yet names the program, and
    // the window manager gets the program's icon.
    const std::string properties = home() + "icon" + displayName.substr(1) + ".txt";
    ASSERT_EQ(std::system(("xprop -id \"$(xdotool search --name '^Lumen$' | head -1)\" _NET_WM_ICON > " +
                           properties + " 2>&1").c_str()),
              0);
    std::ifstream iconText(properties);
    const std::string icon((std::istreambuf_iterator<char>(iconText)), std::istreambuf_iterator<char>());
    EXPECT_NE(icon.find("Icon (48 x 48)"), std::string::npos) << icon.substr(0, 200);
    xdotool("mousemove 140 42 click 1");
    ASSERT_TRUE(runUntil(system, [] { return !logged(WM_COMMAND).empty(); }));
    EXPECT_EQ(loWord(logged(WM_COMMAND).front().wParam), TestApp::plainId);

    xdotool("key Left");
    ASSERT_TRUE(runUntil(system, [] {
        for (const auto& key : logged(WM_KEYDOWN)) {
            if (key.wParam == VK_LEFT) {
                return true;
            }
        }
        return false;
    }));
}

}  // namespace
}  // namespace lumen::testing
