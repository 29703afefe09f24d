// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/layout_rules.h"

namespace lumen {
namespace {

struct ClassValues {
    int32_t nominalWidth;
    int32_t buttonUnit;
    int32_t buttonHeight;
    int32_t ecgButtonHalf;
    int32_t ecgButtonHeight;
    int32_t stripWidth;
};

constexpr ClassValues kClasses[] = {
    {1024, 90, 29, 45, 29, 920},
    {800, 66, 22, 33, 22, 720},
    {640, 50, 17, 33, 17, 560},
};

constexpr int32_t kLargestNominalWidth = 1024;

Rect place(int32_t x, int32_t y, int32_t width, int32_t height) { return Rect{x, y, x + width, y + height}; }

}  // namespace

int32_t screenClassOf(int32_t screenWidth) {
    // Today's wide screens get the largest layout rather than the smallest.
    if (screenWidth >= kLargestNominalWidth) return 1;
    switch (screenWidth) {
    case 800: return 2;
    default: return 3;
    }
}

ShellLayout computeLayout(int32_t screenWidth, Size client) {
    ShellLayout layout;
    layout.clientWidth = client.width;
    layout.clientHeight = client.height;
    layout.screenClass = screenClassOf(screenWidth);
    const ClassValues& values = kClasses[layout.screenClass - 1];
    layout.buttonUnit = values.buttonUnit;
    layout.buttonHeight = values.buttonHeight;
    layout.ecgButtonHalf = values.ecgButtonHalf;
    layout.ecgButtonHeight = values.ecgButtonHeight;
    // A client narrower than the class's nominal width shortens the strip.
    const int32_t shortfall = client.width < values.nominalWidth ? values.nominalWidth - client.width : 0;
    layout.stripWidth = values.stripWidth - shortfall;

    const int32_t paneWidth = client.width - 10;
    const int32_t browserHeight = (2 * client.height) / 3 - 31;
    layout.titlePlace = place(5, 5, paneWidth, 21);
    layout.browserPlace = place(5, 31, paneWidth, browserHeight);
    layout.ecgPlace = place(5, 21 + browserHeight + 15, paneWidth, client.height / 3 - 10);
    layout.statusRect = Rect{0, browserHeight - layout.buttonHeight + 1, paneWidth - 4 * layout.buttonUnit,
                             browserHeight};
    return layout;
}

}  // namespace lumen

namespace lumen {

int32_t nominalScreenWidth(int32_t screenClass) {
    return screenClass == 1 ? 1024 : screenClass == 2 ? 800 : 640;
}

}  // namespace lumen
