// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/image.h"
#include "platform/draw/pixel_surface.h"

namespace lumen {

class RasterTextRenderer;

// The software back-end: draws into 32-bit pixels, either its own (an
// off-screen image) or a sub-rectangle of someone else's framebuffer, which
// then has its own origin and clip. Only platform code, the shell and tests
// see this type; everyone else draws through Canvas.
class RasterCanvas final : public Image {
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

    void rectangle(const Rect& rect) override;
    void fillRect(const Rect& rect, const Brush& brush) override;

    void textOut(Point at, std::string_view text) override;
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) override;
    Size textExtent(std::string_view text) override;

    void bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) override;
    std::unique_ptr<Image> createCompatibleImage(Size sizePixels) const override;
    Size deviceSize() const override { return size_; }
    PixelSurface pixels() const override { return surface(); }

private:
    void drawLine(Point from, Point to) override;
    void clipChanged() override;
    Point toDevice(Point logical) const;
    Rect toDevice(const Rect& logical) const;
    Point toDevice(Point logical, MapMode mapMode) const;
    Rect toDevice(const Rect& logical, MapMode mapMode) const;
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
    Rect clip_;  // device pixels of the target, inside area_
    std::unique_ptr<RasterTextRenderer> text_;
};

}  // namespace lumen
