// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/button_hold.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace lumen {
namespace {

using Release = ButtonHold::Release;

struct LostCaptureCase {
    const char* name;
    std::function<void(ButtonHold&)> before;
    std::vector<Release> released;
};

// What a window lets go of when the desktop takes the mouse away.
TEST(ButtonHold, LostCaptureLetsGoOfWhatIsHeldWhereThePointerWas) {
    const std::vector<LostCaptureCase> cases = {
        {"nothing pressed", [](ButtonHold&) {}, {}},
        {"caliper drag",
         [](ButtonHold& h) {
             h.press(MouseButton::Left, {10, 20});
             h.moved({60, 25});
         },
         {{MouseButton::Left, {60, 25}}}},
        {"released before",
         [](ButtonHold& h) {
             h.press(MouseButton::Left, {1, 1});
             h.release(MouseButton::Left, {2, 2});
         },
         {}},
        {"both buttons",
         [](ButtonHold& h) {
             h.press(MouseButton::Right, {5, 5});
             h.press(MouseButton::Left, {7, 8});
         },
         {{MouseButton::Left, {7, 8}}, {MouseButton::Right, {7, 8}}}},
    };
    for (const LostCaptureCase& c : cases) {
        ButtonHold hold;
        c.before(hold);
        EXPECT_EQ(hold.letGoAll(), c.released) << c.name;
        EXPECT_FALSE(hold.isHeld(MouseButton::Left)) << c.name;
        EXPECT_TRUE(hold.letGoAll().empty()) << c.name << ": let go once only";
    }
}

}  // namespace
}  // namespace lumen
