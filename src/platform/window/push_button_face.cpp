// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/push_button_face.h"

namespace lumen {

namespace {

void drawEdge(Canvas& canvas, const Rect& r, Color topLeft, Color bottomRight) {
    canvas.selectPen(Pen::solid(1, topLeft));
    canvas.moveTo(Point{r.left, r.bottom - 1});
    canvas.lineTo(Point{r.left, r.top});
    canvas.lineTo(Point{r.right - 1, r.top});
    canvas.selectPen(Pen::solid(1, bottomRight));
    canvas.lineTo(Point{r.right - 1, r.bottom - 1});
    canvas.lineTo(Point{r.left - 1, r.bottom - 1});
}

}  // namespace

void drawPushButtonFace(Canvas& canvas, const Rect& rect, std::string_view label, ButtonFace face) {
    if (rect.isEmpty()) {
        return;
    }
    CanvasStateGuard guard(canvas);
    canvas.fillRect(rect, Brush::lightGrey());
    const Rect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    drawEdge(canvas, rect, blackColor, blackColor);
    if (face == ButtonFace::Raised) {
        drawEdge(canvas, inner, whiteColor, rgb(128, 128, 128));
    } else {
        drawEdge(canvas, inner, rgb(128, 128, 128), rgb(192, 192, 192));
    }
    const int32_t shift = face == ButtonFace::Pressed ? 1 : 0;
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextColor(blackColor);
    canvas.selectFont(Font::make("Liberation Sans", 15, Font::normalWeight));
    canvas.drawText(inner.translated(shift, shift), label,
                    DrawTextFormat::Center | DrawTextFormat::VerticalCenter | DrawTextFormat::SingleLine);
}

}  // namespace lumen
