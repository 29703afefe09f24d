// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/raster_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/draw/raster_text_renderer.h"

namespace lumen {

namespace {

constexpr int64_t deviceLimit = int64_t{1} << 28;
constexpr int64_t hundredthMmPerInch = 2540;
constexpr int32_t maximumPenPixels = 256;

int32_t clampDevice(int64_t value) { return static_cast<int32_t>(std::clamp(value, -deviceLimit, deviceLimit)); }

// Rounds value * numerator / denominator to the nearest integer, halves away from 0.
int64_t scaleRounded(int64_t value, int64_t numerator, int64_t denominator) {
    const int64_t product = value * numerator;
    const int64_t half = denominator / 2;
    return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

}  // namespace

RasterCanvas::RasterCanvas(Size sizePixels) {
    const int32_t width = std::clamp(sizePixels.width, 0, 1 << 15);
    const int32_t height = std::clamp(sizePixels.height, 0, 1 << 15);
    ownPixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFFu);
    target_ = PixelSurface{ownPixels_.data(), width, height, width};
    origin_ = Point{0, 0};
    area_ = Rect{0, 0, width, height};
    size_ = Size{width, height};
    clip_ = area_;
}

RasterCanvas::RasterCanvas(PixelSurface target, const Rect& area) : target_(target) {
    if (target_.pixels == nullptr || target_.width < 0 || target_.height < 0 || target_.stridePixels < target_.width) {
        target_ = PixelSurface{};
    }
    origin_ = Point{area.left, area.top};
    area_ = area.normalized().intersected(Rect{0, 0, target_.width, target_.height});
    if (area_.isEmpty()) {
        area_ = Rect{};
    }
    size_ = Size{std::max(area.width(), 0), std::max(area.height(), 0)};
    clip_ = area_;
}

RasterCanvas::~RasterCanvas() = default;

uint32_t RasterCanvas::pixel(int32_t x, int32_t y) const {
    const Point device{x + origin_.x, y + origin_.y};
    if (!area_.contains(device)) {
        return 0;
    }
    return target_.pixels[static_cast<ptrdiff_t>(device.y) * target_.stridePixels + device.x];
}

PixelSurface RasterCanvas::surface() const {
    if (area_.isEmpty()) {
        return PixelSurface{};
    }
    return PixelSurface{target_.pixels + static_cast<ptrdiff_t>(area_.top) * target_.stridePixels + area_.left,
                        area_.width(), area_.height(), target_.stridePixels};
}

void RasterCanvas::fill(Color color) { fillDeviceRect(area_, pixelFromColor(color), RasterOp::Copy); }

void RasterCanvas::setDotsPerInch(int32_t dotsPerInch) { dotsPerInch_ = std::clamp(dotsPerInch, 1, 4800); }

void RasterCanvas::clipChanged() {
    const std::optional<CanvasClip>& clip = state().clip;
    clip_ = clip ? toDevice(clip->rect, clip->mapMode).normalized().intersected(area_) : area_;
}

Point RasterCanvas::toDevice(Point logical) const { return toDevice(logical, state().mapMode); }

Point RasterCanvas::toDevice(Point logical, MapMode mapMode) const {
    if (mapMode == MapMode::Pixels) {
        return Point{clampDevice(int64_t{logical.x} + origin_.x), clampDevice(int64_t{logical.y} + origin_.y)};
    }
    return Point{clampDevice(scaleRounded(logical.x, dotsPerInch_, hundredthMmPerInch) + origin_.x),
                 clampDevice(scaleRounded(-int64_t{logical.y}, dotsPerInch_, hundredthMmPerInch) + origin_.y)};
}

Rect RasterCanvas::toDevice(const Rect& logical) const { return toDevice(logical, state().mapMode); }

Rect RasterCanvas::toDevice(const Rect& logical, MapMode mapMode) const {
    const Point topLeft = toDevice(Point{logical.left, logical.top}, mapMode);
    const Point bottomRight = toDevice(Point{logical.right, logical.bottom}, mapMode);
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int32_t RasterCanvas::lengthToDevice(int32_t logical) const {
    if (state().mapMode == MapMode::Pixels) {
        return logical;
    }
    return clampDevice(scaleRounded(logical, dotsPerInch_, hundredthMmPerInch));
}

int32_t RasterCanvas::lengthToLogical(int32_t device) const {
    if (state().mapMode == MapMode::Pixels) {
        return device;
    }
    return clampDevice(scaleRounded(device, hundredthMmPerInch, dotsPerInch_));
}

int32_t RasterCanvas::penWidthPixels() const {
    return std::clamp(lengthToDevice(std::abs(state().pen.width)), 1, maximumPenPixels);
}

RasterTextRenderer& RasterCanvas::text() {
    if (!text_) {
        text_ = std::make_unique<RasterTextRenderer>();
    }
    text_->use(state().font, lengthToDevice(state().font.height));
    return *text_;
}

std::unique_ptr<Image> RasterCanvas::createCompatibleImage(Size sizePixels) const {
    auto image = std::make_unique<RasterCanvas>(sizePixels);
    image->setDotsPerInch(dotsPerInch_);
    return image;
}

}  // namespace lumen
