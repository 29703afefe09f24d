// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/gdi_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/draw/image.h"
#include "platform/draw/raster_canvas.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

constexpr int kHundredthMmPerInch = 2540;

int rop2Of(RasterOp op) {
    switch (op) {
    case RasterOp::Xor: return R2_XORPEN;
    case RasterOp::NotXor: return R2_NOTXORPEN;
    case RasterOp::Copy: break;
    }
    return R2_COPYPEN;
}

RECT rectOf(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, MapMode initialMapMode)
    : Canvas(initialMapMode),
      dc_(dc),
      savedDc_(SaveDC(dc)),
      originalPen_(GetCurrentObject(dc, OBJ_PEN)),
      originalBrush_(GetCurrentObject(dc, OBJ_BRUSH)),
      originalFont_(GetCurrentObject(dc, OBJ_FONT)) {
    // A printer's device origin is the corner of its printable area; the
    // page is laid out from the corner of the sheet.
    sheetOffset_ = POINT{GetDeviceCaps(dc_, PHYSICALOFFSETX), GetDeviceCaps(dc_, PHYSICALOFFSETY)};
    applyMapping(initialMapMode);
}

GdiCanvas::~GdiCanvas() {
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalBrush_);
    SelectObject(dc_, originalFont_);
    if (pen_ != nullptr) DeleteObject(pen_);
    if (brush_ != nullptr) DeleteObject(brush_);
    RestoreDC(dc_, savedDc_);
}

void GdiCanvas::applyMapping(MapMode mode) const {
    SetViewportOrgEx(dc_, -sheetOffset_.x, -sheetOffset_.y, nullptr);
    SetWindowOrgEx(dc_, 0, 0, nullptr);
    if (mode == MapMode::Pixels) {
        SetMapMode(dc_, MM_TEXT);
        return;
    }
    // MM_HIMETRIC would scale by the device's size in whole millimetres
    // (HORZSIZE), which is off by up to half a millimetre over a sheet; the
    // exact resolution in dots per inch keeps 10 mm at 10 mm.
    SetMapMode(dc_, MM_ANISOTROPIC);
    SetWindowExtEx(dc_, kHundredthMmPerInch, kHundredthMmPerInch, nullptr);
    SetViewportExtEx(dc_, GetDeviceCaps(dc_, LOGPIXELSX), -GetDeviceCaps(dc_, LOGPIXELSY), nullptr);
}

void GdiCanvas::applyPen() {
    const Pen& wanted = pen();
    if (pen_ == nullptr || !(wanted == appliedPen_)) {
        HPEN next = wanted.isNull() ? CreatePen(PS_NULL, 0, 0) : CreatePen(PS_SOLID, wanted.width, wanted.color);
        SelectObject(dc_, next);
        if (pen_ != nullptr) DeleteObject(pen_);
        pen_ = next;
        appliedPen_ = wanted;
    }
}

void GdiCanvas::applyBrush(const Brush& wanted) {
    HBRUSH next = wanted.isNull() ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(wanted.color);
    SelectObject(dc_, next);
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = wanted.isNull() ? nullptr : next;
}

void GdiCanvas::applyFont() {
    HFONT wanted = fonts_.fontFor(font(), font().height);
    if (wanted != nullptr && wanted != font_) {
        SelectObject(dc_, wanted);
        font_ = wanted;
    }
}

void GdiCanvas::applyState() {
    applyMapping(mapMode());
    applyPen();
    SetTextColor(dc_, textColor());
    SetBkColor(dc_, bkColor());
    SetBkMode(dc_, bkMode() == BackgroundMode::Opaque ? OPAQUE : TRANSPARENT);
    SetTextAlign(dc_, static_cast<UINT>(textAlign()));
    SetROP2(dc_, rop2Of(rasterOp()));
}

void GdiCanvas::drawLine(Point from, Point to) {
    applyState();
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
}

void GdiCanvas::rectangle(const Rect& rect) {
    applyState();
    applyBrush(brush());
    Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::fillRect(const Rect& rect, const Brush& fill) {
    if (fill.isNull()) return;
    applyMapping(mapMode());
    HBRUSH solid = CreateSolidBrush(fill.color);
    const RECT area = rectOf(rect);
    FillRect(dc_, &area, solid);
    DeleteObject(solid);
}

void GdiCanvas::textOut(Point at, std::string_view text) {
    applyState();
    applyFont();
    const std::wstring wide = wideFromUtf8(text);
    TextOutW(dc_, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
}

int32_t GdiCanvas::drawText(const Rect& rect, std::string_view text, DrawTextFormat format) {
    applyState();
    applyFont();
    std::wstring wide = wideFromUtf8(text);
    RECT area = rectOf(rect);
    return DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &area, static_cast<UINT>(format));
}

Size GdiCanvas::textExtent(std::string_view text) {
    applyMapping(mapMode());
    applyFont();
    const std::wstring wide = wideFromUtf8(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return Size{extent.cx, extent.cy};
}

// Pixel for pixel at the destination's device corner, as BitBlt copies.
void GdiCanvas::bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) {
    applyMapping(mapMode());
    POINT corners[2] = {{destination.left, destination.top}, {destination.right, destination.bottom}};
    LPtoDP(dc_, corners, 2);
    const PixelSurface pixels = source.pixels();
    const LONG left = std::min(corners[0].x, corners[1].x) + sheetOffset_.x;
    const LONG top = std::min(corners[0].y, corners[1].y) + sheetOffset_.y;
    const LONG width = std::min<LONG>(std::abs(corners[1].x - corners[0].x), pixels.width - sourceOrigin.x);
    const LONG height = std::min<LONG>(std::abs(corners[1].y - corners[0].y), pixels.height - sourceOrigin.y);
    if (pixels.pixels == nullptr || width <= 0 || height <= 0 || sourceOrigin.x < 0 || sourceOrigin.y < 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.stridePixels;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int saved = SaveDC(dc_);
    SetMapMode(dc_, MM_TEXT);
    SetViewportOrgEx(dc_, -sheetOffset_.x, -sheetOffset_.y, nullptr);
    StretchDIBits(dc_, left, top, width, height, sourceOrigin.x, sourceOrigin.y, width, height, pixels.pixels, &info,
                  DIB_RGB_COLORS, SRCCOPY);
    RestoreDC(dc_, saved);
}

std::unique_ptr<Image> GdiCanvas::createCompatibleImage(Size sizePixels) const {
    return std::make_unique<RasterCanvas>(sizePixels);
}

Size GdiCanvas::deviceSize() const {
    return Size{GetDeviceCaps(dc_, PHYSICALWIDTH), GetDeviceCaps(dc_, PHYSICALHEIGHT)};
}

void GdiCanvas::clipChanged() {
    const auto& clip = state().clip;
    if (!clip) {
        SelectClipRgn(dc_, nullptr);
        return;
    }
    applyMapping(clip->mapMode);
    POINT corners[2] = {{clip->rect.left, clip->rect.top}, {clip->rect.right, clip->rect.bottom}};
    LPtoDP(dc_, corners, 2);
    // Regions are in device units from the printable area's corner.
    HRGN region = CreateRectRgn(std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                                std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y));
    SelectClipRgn(dc_, region);
    DeleteObject(region);
    applyMapping(mapMode());
}

}  // namespace lumen
