// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{640, 480};

int32_t runScript(const std::string& text, const std::function<void(WindowSystem&, TestApp&)>& setUp = {}) {
    HeadlessDriver driver(screen, actionsOf(text));
    WindowSystem system(driver);
    TestApp app(system);
    if (setUp) {
        setUp(system, app);
    }
    return system.runMessageLoop();
}

TEST(WindowSystemTest, ButtonClickSendsItsIdToTheParent) {
    // Button 1001 covers client (110..170, 30..54); a press released outside it is no click.
    runScript("press 120 40\nmove 300 300\nrelease 300 300\nbutton 1001\nbutton 1000\nclick 15 15\n");
    const auto commands = logged(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(loWord(commands[0].wParam), 1001);
    EXPECT_EQ(hiWord(commands[0].wParam), BN_CLICKED);
    EXPECT_EQ(loWord(commands[1].wParam), 1000);
    EXPECT_EQ(commands[1].window, "pane");
}

TEST(WindowSystemTest, ClickedButtonTakesFocusAndThePaneGivesItBack) {
    WindowHandle focusAfter;
    WindowHandle main;
    HeadlessDriver driver(screen, actionsOf("button 1001\n"));
    WindowSystem system(driver);
    TestApp app(system);
    main = app.main;
    EXPECT_EQ(system.focus(), app.main);
    Message message;
    while (system.getMessage(message) && message.message != WM_CLOSE) {
        system.dispatchMessage(message);
        focusAfter = system.focus();
    }
    EXPECT_EQ(focusAfter, main);
    EXPECT_EQ(logged(WM_KILLFOCUS).front().window, "main");
    EXPECT_EQ(system.capture(), WindowHandle{});
}

TEST(WindowSystemTest, KeysReachTheFocusWithModifierStates) {
    runScript("key p ctrl shift alt\nkey Left\nkey n alt\nkey 7\n");
    const auto downs = logged(WM_KEYDOWN);
    std::vector<LoggedMessage> letters;
    for (const auto& down : downs) {
        if (down.wParam != VK_CONTROL && down.wParam != VK_SHIFT && down.wParam != VK_MENU) {
            letters.push_back(down);
        }
    }
    ASSERT_EQ(letters.size(), 3u);
    EXPECT_EQ(letters[0].wParam, 'P');
    EXPECT_TRUE(letters[0].ctrl && letters[0].shift && letters[0].alt);
    EXPECT_EQ(letters[1].wParam, VK_LEFT);
    EXPECT_FALSE(letters[1].ctrl || letters[1].shift || letters[1].alt);
    EXPECT_EQ(letters[2].wParam, '7');
    // Alt without Ctrl makes system keys.
    const auto systemKeys = logged(WM_SYSKEYDOWN);
    ASSERT_EQ(systemKeys.size(), 2u);
    EXPECT_EQ(systemKeys[1].wParam, 'N');
    EXPECT_EQ(logged(WM_CHAR).size(), 2u);  // 'p' and '7'
}

TEST(WindowSystemTest, TimersFireOnTheVirtualClockOnlyThroughWait) {
    uint64_t endTime = 0;
    HeadlessDriver driver(screen, actionsOf("wait 50\nwait 300\nmove 1 1\n"));
    WindowSystem system(driver);
    TestApp app(system);
    system.setTimer(app.main, 5, 100);
    Message message;
    std::vector<uint64_t> fired;
    while (system.getMessage(message)) {
        if (message.message == WM_TIMER) {
            fired.push_back(system.tickCountMs());
            if (fired.size() == 3) {
                system.killTimer(app.main, 5);
            }
        }
        system.dispatchMessage(message);
        endTime = system.tickCountMs();
    }
    EXPECT_EQ(fired, (std::vector<uint64_t>{100, 200, 300}));
    EXPECT_EQ(endTime, 350u);
    EXPECT_EQ(logged(WM_TIMER).front().wParam, 5u);
}

struct SubclassRecord {
    WindowProc replacement = nullptr;
    WindowProc previous = nullptr;
};

int subclassDowns = 0;

LResult countingProc(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    auto* record = static_cast<SubclassRecord*>(system.getProp(window, "FNStruc"));
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        subclassDowns += message == WM_LBUTTONDBLCLK ? 100 : 1;
    }
    return system.callWindowProc(record->previous, window, message, wParam, lParam);
}

TEST(WindowSystemTest, SubclassedButtonSeesMessagesAndStillWorks) {
    SubclassRecord record;
    subclassDowns = 0;
    runScript("button 1001\nwait 600\nbutton 1001\nbutton 1001\n", [&](WindowSystem& system, TestApp& app) {
        record.replacement = &countingProc;
        record.previous = system.setWindowProc(app.plain, &countingProc);
        system.setProp(app.plain, "FNStruc", &record);
        EXPECT_EQ(system.windowProc(app.plain), &countingProc);
    });
    EXPECT_NE(record.previous, nullptr);
    EXPECT_EQ(subclassDowns, 102);  // the third click is a double click
    EXPECT_EQ(logged(WM_COMMAND).size(), 3u);
}

}  // namespace
}  // namespace lumen::testing
