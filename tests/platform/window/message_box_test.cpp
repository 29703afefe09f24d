// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{640, 480};

TEST(MessageBoxTest, NestedLoopKeepsDeliveringMessagesUntilAnswered) {
    StepDriver driver(screen);
    WindowSystem system(driver);
    TestApp app(system);
    pump(system);
    system.setTimer(app.main, 9, 100);
    int timersSeen = 0;
    driver.add([&](WindowSystem& s) { s.postMessage(app.pane, WM_USER + 1, 0, 0); });
    // The clock then runs to each timer; the third tick answers.
    const int32_t answer = [&] {
        system.setWindowProc(app.main,
                             [](WindowSystem& s, WindowHandle w, uint32_t m, WParam wp, LParam lp) -> LResult {
                                 if (m == WM_TIMER) {
                                     messageLog().push_back(LoggedMessage{"main", m, wp, lp});
                                     if (logged(WM_TIMER).size() == 3) {
                                         s.answerMessageBox(IDNO);
                                     }
                                     return 0;
                                 }
                                 return s.defWindowProc(w, m, wp, lp);
                             });
        return system.messageBox(app.main, "Print?\nReally", "Question", MB_YESNO | MB_ICONQUESTION);
    }();
    timersSeen = static_cast<int>(logged(WM_TIMER).size());
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(timersSeen, 3);
    EXPECT_EQ(logged(WM_USER + 1).size(), 1u);
    ASSERT_EQ(driver.boxesOpened.size(), 1u);
    EXPECT_EQ(driver.boxesOpened[0].caption, "Question");
    EXPECT_FALSE(system.openMessageBox().has_value());
}

TEST(MessageBoxTest, BoxIsDrawnOnTopAndItsOwnerIgnoresInputMeanwhile) {
    StepDriver driver(screen);
    WindowSystem system(driver);
    TestApp app(system);
    pump(system);
    std::optional<MessageBoxInfo> seen;
    uint32_t centre = 0;
    driver.add([&](WindowSystem& s) {
        seen = s.openMessageBox();
        auto canvas = s.getDC(app.main);  // drawing under the box
        canvas->fillRect(s.clientRect(app.main), Brush::black());
        canvas.reset();
        s.present();
        centre = pixelAt(s, 203, 240);
        s.inputMouseButton(MouseButton::Left, ButtonAction::Down, Point{50, 90});
        s.inputMouseButton(MouseButton::Left, ButtonAction::Up, Point{50, 90});
    });
    driver.add([&](WindowSystem& s) { s.inputKey(VK_RETURN, KeyAction::Down); });
    messageLog().clear();
    EXPECT_EQ(system.messageBox(app.main, "File not found", "Error", MB_OK), IDOK);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, "File not found");
    EXPECT_EQ(centre, pixelFromColor(rgb(192, 192, 192)));  // the box, not the black under it
    EXPECT_TRUE(logged(WM_LBUTTONDOWN).empty());
    pump(system);
    EXPECT_EQ(pixelAt(system, 320, 240), pixelFromColor(mainColor));  // repainted after the box
}

}  // namespace
}  // namespace lumen::testing
