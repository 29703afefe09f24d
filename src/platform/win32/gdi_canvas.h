// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/win32/gdi_font_cache.h"

namespace lumen {

// A Canvas drawing straight into a GDI device context (a printer's page):
// every primitive selects the state's pen, brush, font, colours and modes
// into the device context and calls GDI itself. HundredthMillimetre mode is
// 0.01 mm per unit, y upward, origin at the sheet's top-left corner, scaled
// from the device's exact resolution (MM_ANISOTROPIC, see win32 notes).
class GdiCanvas final : public Canvas {
public:
    GdiCanvas(HDC dc, MapMode initialMapMode);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void rectangle(const Rect& rect) override;
    void fillRect(const Rect& rect, const Brush& brush) override;
    void textOut(Point at, std::string_view text) override;
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) override;
    Size textExtent(std::string_view text) override;
    void bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) override;
    std::unique_ptr<Image> createCompatibleImage(Size sizePixels) const override;
    Size deviceSize() const override;

private:
    void drawLine(Point from, Point to) override;
    void clipChanged() override;
    // Puts the mapping of `mode` on the device context.
    void applyMapping(MapMode mode) const;
    // Selects the state's objects, colours and modes before a primitive.
    void applyState();
    void applyPen();
    void applyBrush(const Brush& brush);
    void applyFont();

    HDC dc_;
    int savedDc_;
    POINT sheetOffset_{};  // the printable area's corner on the sheet, device pixels
    HGDIOBJ originalPen_;
    HGDIOBJ originalBrush_;
    HGDIOBJ originalFont_;
    HPEN pen_ = nullptr;
    Pen appliedPen_;  // what pen_ was made from
    HBRUSH brush_ = nullptr;
    GdiFontCache fonts_;
    HFONT font_ = nullptr;  // selected, owned by fonts_
};

}  // namespace lumen
