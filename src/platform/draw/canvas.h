// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/draw/canvas_state.h"

namespace lumen {

class Image;

// A drawing surface with GDI semantics. All coordinates, pen widths and font
// heights are in logical units of the current map mode. Every setter and
// select returns what it replaced so that callers can put it back.
// Texts are UTF-8.
//
// The canvas keeps the drawing state and its save/restore stack itself;
// a back-end implements only the primitives and reads the state.
class Canvas {
public:
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // --- objects ----------------------------------------------------------
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    Font selectFont(const Font& font);
    const Pen& pen() const { return state_.pen; }
    const Brush& brush() const { return state_.brush; }
    const Font& font() const { return state_.font; }

    // --- state ------------------------------------------------------------
    Color setTextColor(Color color);
    Color setBkColor(Color color);
    BackgroundMode setBkMode(BackgroundMode mode);
    TextAlign setTextAlign(TextAlign align);
    RasterOp setRasterOp(RasterOp op);
    MapMode setMapMode(MapMode mode);
    Color textColor() const { return state_.textColor; }
    Color bkColor() const { return state_.bkColor; }
    BackgroundMode bkMode() const { return state_.bkMode; }
    TextAlign textAlign() const { return state_.textAlign; }
    RasterOp rasterOp() const { return state_.rasterOp; }
    MapMode mapMode() const { return state_.mapMode; }
    // Further drawing is clipped to this rectangle (logical units) and to
    // the canvas itself.
    void setClipRect(const Rect& clip);
    void resetClipRect();
    // Pushes every setting above, the current position and the selected
    // objects; restoreState pops them. A restore without a save, or saves
    // nested deeper than kMaxSavedStates, are programming errors: they stop
    // a debug build and are ignored otherwise.
    void saveState();
    void restoreState();
    static constexpr size_t kMaxSavedStates = 1024;

    // --- lines and areas --------------------------------------------------
    // Sets the current position; returns the previous one.
    Point moveTo(Point to);
    Point currentPosition() const { return state_.position; }
    // Line with the pen from the current position to `to`, the last point
    // not drawn; `to` becomes the current position.
    void lineTo(Point to);
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
    virtual void bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) = 0;
    // An off-screen image of `sizePixels` that can be drawn on and copied
    // to this canvas with bitBlt; it starts white, in Pixels mode.
    virtual std::unique_ptr<Image> createCompatibleImage(Size sizePixels) const = 0;
    // The drawable size in device pixels.
    virtual Size deviceSize() const = 0;

protected:
    explicit Canvas(MapMode initialMapMode = MapMode::Pixels);
    const CanvasState& state() const { return state_; }

    // A line from `from` to `to` with the selected pen; the current position
    // is the canvas's business.
    virtual void drawLine(Point from, Point to) = 0;
    // The mapping, the clip or the whole state is about to change: a
    // back-end that batches drawing finishes the batch here.
    virtual void stateWillChange() {}
    // The clip (or the whole state, clip included) changed.
    virtual void clipChanged() {}

private:
    CanvasState state_;
    std::vector<CanvasState> savedStates_;
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
