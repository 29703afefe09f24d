// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/gdi_canvas.h"

#include <gtest/gtest.h>

namespace lumen {
namespace {

// A report draws hundreds of strings in a handful of fonts: each font is
// made once and stays selected while it is the one drawn with.
TEST(GdiCanvasFonts, EachFontIsMadeOnceAndKept) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    {
        GdiCanvas canvas(dc, MapMode::Pixels);
        const Font body = Font::make("Liberation Sans", -13, Font::normalWeight);
        const Font title = Font::make("Liberation Serif", -20, Font::boldWeight);
        canvas.selectFont(body);
        canvas.textOut(Point{0, 0}, "Speed");
        const HGDIOBJ bodyFont = GetCurrentObject(dc, OBJ_FONT);
        canvas.textOut(Point{0, 20}, "Actual time");
        canvas.textExtent("25 mm/s");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), bodyFont);
        canvas.selectFont(title);
        canvas.drawText(Rect{0, 0, 200, 40}, "Holter ECG report.", DrawTextFormat{});
        EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), bodyFont);
        canvas.selectFont(body);
        canvas.textOut(Point{0, 40}, "Speed");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), bodyFont);
        EXPECT_EQ(GetObjectType(bodyFont), static_cast<DWORD>(OBJ_FONT));
    }
    DeleteDC(dc);
}

}  // namespace
}  // namespace lumen
