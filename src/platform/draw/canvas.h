#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/draw/brush.h"
#include "platform/draw/color.h"
#include "platform/draw/font.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pen.h"
#include "platform/draw/text_align.h"

namespace lumen {

enum class BackgroundMode : uint8_t { Transparent = 1, Opaque = 2 };

// How pens and brush interiors combine with the pixels already there.
// Xor inverts exactly the bits of the pen colour, so drawing twice restores.
enum class RasterOp : uint8_t { Copy, Xor, NotXor };

// Pixels: one unit is one device pixel, y grows downward, origin top-left.
// HundredthMillimetre: one unit is 0.01 mm, y grows upward, the origin is the
// top-left corner of the page (points on the page have negative y).
enum class MapMode : uint8_t { Pixels, HundredthMillimetre };

// A drawing surface with GDI semantics. All coordinates, pen widths and font
// heights are in logical units of the current map mode. Every setter and
// select returns what it replaced so that callers can put it back.
// Texts are UTF-8.
class Canvas {
public:
    virtual ~Canvas() = default;

    // --- objects ----------------------------------------------------------
    virtual Pen selectPen(const Pen& pen) = 0;
    virtual Brush selectBrush(const Brush& brush) = 0;
    virtual Font selectFont(const Font& font) = 0;
    virtual const Pen& pen() const = 0;
    virtual const Brush& brush() const = 0;
    virtual const Font& font() const = 0;

    // --- state ------------------------------------------------------------
    virtual Color setTextColor(Color color) = 0;
    virtual Color setBkColor(Color color) = 0;
    virtual BackgroundMode setBkMode(BackgroundMode mode) = 0;
    virtual TextAlign setTextAlign(TextAlign align) = 0;
    virtual RasterOp setRasterOp(RasterOp op) = 0;
    virtual MapMode setMapMode(MapMode mode) = 0;
    virtual Color textColor() const = 0;
    virtual Color bkColor() const = 0;
    virtual BackgroundMode bkMode() const = 0;
    virtual TextAlign textAlign() const = 0;
    virtual RasterOp rasterOp() const = 0;
    virtual MapMode mapMode() const = 0;
    // Further drawing is clipped to this rectangle (logical units) and to
    // the canvas itself.
    virtual void setClipRect(const Rect& clip) = 0;
    virtual void resetClipRect() = 0;
    // Pushes every setting above, the current position and the selected
    // objects; restoreState pops them. Unbalanced restores do nothing.
    virtual void saveState() = 0;
    virtual void restoreState() = 0;

    // --- lines and areas --------------------------------------------------
    // Sets the current position; returns the previous one.
    virtual Point moveTo(Point to) = 0;
    virtual Point currentPosition() const = 0;
    // Line with the pen from the current position to `to`, the last point
    // not drawn; `to` becomes the current position.
    virtual void lineTo(Point to) = 0;
    // Outline with the pen, inside with the brush; right and bottom
    // exclusive. With the null pen the filled area is one pixel smaller in
    // width and height, as in GDI.
    virtual void rectangle(const Rect& rect) = 0;
    // Fills left..right-1 × top..bottom-1 with the brush, ignoring the
    // selected brush, pen and raster op.
    virtual void fillRect(const Rect& rect, const Brush& brush) = 0;

    // --- text -------------------------------------------------------------
    // One line of text at `at` placed by the text alignment, in the text
    // colour, over the background colour when the mode is Opaque.
    virtual void textOut(Point at, std::string_view text) = 0;
    // Text in `rect` placed by `format`; returns the height of the text.
    virtual int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) = 0;
    // Width of the text and height of the font's cell, in logical units.
    virtual Size textExtent(std::string_view text) = 0;

    // --- images -----------------------------------------------------------
    // Copies the source's pixels from `sourceOrigin` (source logical units)
    // into `destination` (this canvas's logical units), pixel for pixel.
    virtual void bitBlt(const Rect& destination, const Canvas& source, Point sourceOrigin) = 0;
    // An off-screen image of `sizePixels` that can be drawn on and copied
    // to this canvas with bitBlt; it starts white, in Pixels mode.
    virtual std::unique_ptr<Canvas> createCompatibleImage(Size sizePixels) const = 0;
    // The drawable size in device pixels.
    virtual Size deviceSize() const = 0;
};

// Puts a canvas's state back at the end of a scope; saving stays explicit.
class CanvasStateGuard {
public:
    explicit CanvasStateGuard(Canvas& canvas) : canvas_(canvas) { canvas_.saveState(); }
    ~CanvasStateGuard() { canvas_.restoreState(); }
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
    Canvas& canvas_;
};

}  // namespace lumen
