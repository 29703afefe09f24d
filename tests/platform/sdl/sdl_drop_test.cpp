// SPDX-License-Identifier: GPL-3.0-or-later
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sdl/sdl_driver.h"
#include "platform/window/test_app.h"

namespace lumen::testing {
namespace {

// A file the desktop drops on the window reaches the program as its path;
// SDL's dummy video back-end needs no display.
TEST(SdlDropTest, ADroppedFileReachesTheDropHandler) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    SdlDriver driver;
    ASSERT_TRUE(driver.isReady()) << SDL_GetError();
    std::vector<std::string> dropped;
    driver.setDropHandler([&](const std::string& path) { dropped.push_back(path); });
    WindowSystem system(driver);
    for (const char* path : {"/data/My file.edf", "/data/P\xC3\xA9ter.hea"}) {
        SDL_Event event{};
        event.type = SDL_DROPFILE;
        event.drop.file = SDL_strdup(path);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    driver.waitForInput(system, driver.nowMs());
    EXPECT_EQ(dropped, (std::vector<std::string>{"/data/My file.edf", "/data/P\xC3\xA9ter.hea"}));
    ::unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
}  // namespace lumen::testing
