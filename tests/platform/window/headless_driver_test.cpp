#include <gtest/gtest.h>
#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{320, 200};

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
