#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/draw/raster_canvas.h"
#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{320, 200};

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("lumen_window_" + name)).string();
}

TEST(HeadlessDriverTest, ShotSavesTheWholeScreen)
{
    const std::string path = tempPath("shot.png");
    std::filesystem::remove(path);
    HeadlessDriver driver(screen, actionsOf("shot " + path + "\n"));
    WindowSystem system(driver);
    TestApp app(system);
    EXPECT_EQ(system.runMessageLoop(), 7);
    const auto image = RasterCanvas::loadPng(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->deviceSize(), screen);
    EXPECT_EQ(image->colorAt(300, 150), mainColor);
    EXPECT_EQ(image->colorAt(15, 105), paneColor);
}

TEST(HeadlessDriverTest, DumpCallsTheApplication)
{
    std::vector<std::string> dumped;
    HeadlessDriver driver(screen, actionsOf("dump a.json\nwait 10\ndump b.json\n"));
    driver.setDumpHandler([&](const std::string& path) {
        dumped.push_back(path + "@" + std::to_string(driver.nowMs()));
        return true;
    });
    WindowSystem system(driver);
    TestApp app(system);
    system.runMessageLoop();
    EXPECT_EQ(dumped, (std::vector<std::string>{"a.json@0", "b.json@10"}));
}

TEST(HeadlessDriverTest, DumpWithoutAnApplicationHandlerWritesTheScreen)
{
    const std::string path = tempPath("dump.json");
    HeadlessDriver driver(screen, actionsOf("dump " + path + "\n"));
    WindowSystem system(driver);
    TestApp app(system);
    system.runMessageLoop();
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("[320, 200]"), std::string::npos);
}

TEST(HeadlessDriverTest, CoordinatesAreMainWindowClientCoordinates)
{
    HeadlessDriver driver(screen, actionsOf("click 40 40\n"));
    WindowSystem system(driver);
    TestApp app(system);
    system.runMessageLoop();
    const auto downs = logged(WM_LBUTTONDOWN);
    EXPECT_TRUE(downs.empty());  // 40,40 is the owner-drawn button, which logs nothing
    ASSERT_EQ(logged(WM_COMMAND).size(), 1u);
    EXPECT_EQ(loWord(logged(WM_COMMAND)[0].wParam), TestApp::ownerDrawnId);
}

TEST(HeadlessDriverDeathTest, MissingButtonIsAScriptError)
{
    EXPECT_EXIT(
        {
            HeadlessDriver driver(screen, actionsOf("button 4242\n"));
            WindowSystem system(driver);
            TestApp app(system);
            system.runMessageLoop();
        },
        ::testing::ExitedWithCode(2), "line 1: no visible button 4242");
}

TEST(HeadlessDriverTest, ExitHandlerReplacesTheProcessExit)
{
    int status = 0;
    HeadlessDriver driver(screen, actionsOf("answer ok\n"));
    driver.setExitHandler([&](int code) { status = code; });
    WindowSystem system(driver);
    TestApp app(system);
    EXPECT_EQ(system.runMessageLoop(), HeadlessDriver::scriptErrorStatus);
    EXPECT_EQ(status, HeadlessDriver::scriptErrorStatus);
}

}  // namespace
}  // namespace lumen::testing
