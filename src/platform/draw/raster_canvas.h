#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/canvas.h"
#include "platform/draw/pixel_surface.h"

namespace lumen {

class RasterTextRenderer;

// The software back-end: draws into 32-bit pixels, either its own (an
// off-screen image) or a sub-rectangle of someone else's framebuffer, which
// then has its own origin and clip. Only platform code, the shell and tests
// see this type; everyone else draws through Canvas.
class RasterCanvas final : public Canvas {
public:
    // An image of its own, filled white.
    explicit RasterCanvas(Size sizePixels);
    // Draws into `area` of `target`: logical (0, 0) is area's top-left
    // corner, and nothing is drawn outside `area` or `target`.
    RasterCanvas(PixelSurface target, const Rect& area);
    ~RasterCanvas() override;
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    // Reads a PNG file into a new image; nullptr when unreadable.
    static std::unique_ptr<RasterCanvas> loadPng(const std::string& path);
    // Writes the canvas's pixels as an RGB PNG; false when it cannot.
    bool savePng(const std::string& path) const;

    // Device pixel (x, y) of the canvas area; 0 outside it.
    uint32_t pixel(int32_t x, int32_t y) const;
    Color colorAt(int32_t x, int32_t y) const { return colorFromPixel(pixel(x, y)); }
    // The canvas area as a pixel block (points into the target).
    PixelSurface surface() const;
    void fill(Color color);
    // Device resolution used in HundredthMillimetre mode (96 by default).
    void setDotsPerInch(int32_t dotsPerInch);

    Pen selectPen(const Pen& pen) override;
    Brush selectBrush(const Brush& brush) override;
    Font selectFont(const Font& font) override;
    const Pen& pen() const override { return state_.pen; }
    const Brush& brush() const override { return state_.brush; }
    const Font& font() const override { return state_.font; }

    Color setTextColor(Color color) override;
    Color setBkColor(Color color) override;
    BackgroundMode setBkMode(BackgroundMode mode) override;
    TextAlign setTextAlign(TextAlign align) override;
    RasterOp setRasterOp(RasterOp op) override;
    MapMode setMapMode(MapMode mode) override;
    Color textColor() const override { return state_.textColor; }
    Color bkColor() const override { return state_.bkColor; }
    BackgroundMode bkMode() const override { return state_.bkMode; }
    TextAlign textAlign() const override { return state_.textAlign; }
    RasterOp rasterOp() const override { return state_.rasterOp; }
    MapMode mapMode() const override { return state_.mapMode; }
    void setClipRect(const Rect& clip) override;
    void resetClipRect() override;
    void saveState() override;
    void restoreState() override;

    Point moveTo(Point to) override;
    Point currentPosition() const override { return state_.position; }
    void lineTo(Point to) override;
    void rectangle(const Rect& rect) override;
    void fillRect(const Rect& rect, const Brush& brush) override;

    void textOut(Point at, std::string_view text) override;
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) override;
    Size textExtent(std::string_view text) override;

    void bitBlt(const Rect& destination, const Canvas& source, Point sourceOrigin) override;
    std::unique_ptr<Canvas> createCompatibleImage(Size sizePixels) const override;
    Size deviceSize() const override { return size_; }

private:
    struct State {
        Pen pen = Pen::black();
        Brush brush = Brush::white();
        Font font = Font::system();
        Color textColor = blackColor;
        Color bkColor = whiteColor;
        BackgroundMode bkMode = BackgroundMode::Opaque;
        TextAlign textAlign = TextAlign::Left | TextAlign::Top;
        RasterOp rasterOp = RasterOp::Copy;
        MapMode mapMode = MapMode::Pixels;
        Point position{};
        Rect clip{};  // device pixels of the target, inside area_
    };

    Point toDevice(Point logical) const;
    Rect toDevice(const Rect& logical) const;
    int32_t lengthToDevice(int32_t logical) const;
    int32_t lengthToLogical(int32_t device) const;
    int32_t penWidthPixels() const;
    void plotLine(Point from, Point to, uint32_t pixel, int32_t widthPixels);
    void plotPixel(Point at, uint32_t pixel);
    void fillDeviceRect(const Rect& device, uint32_t pixel, RasterOp op);
    RasterTextRenderer& text();

    std::vector<uint32_t> ownPixels_;
    PixelSurface target_;
    Point origin_;  // device pixel of logical (0, 0)
    Rect area_;     // device pixels of the target that this canvas covers
    Size size_;
    int32_t dotsPerInch_ = 96;
    State state_;
    std::vector<State> savedStates_;
    std::unique_ptr<RasterTextRenderer> text_;
};

}  // namespace lumen
