// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/draw/raster_canvas.h"
#include "platform/draw/raster_text_renderer.h"

namespace lumen {

namespace {

template <RasterOp op>
inline void applyPixel(uint32_t& destination, uint32_t pixel) {
    if constexpr (op == RasterOp::Copy) {
        destination = pixel;
    } else if constexpr (op == RasterOp::Xor) {
        destination ^= pixel;
    } else {
        destination = ~(destination ^ pixel) & 0x00FFFFFFu;
    }
}

template <RasterOp op>
void fillSpans(const PixelSurface& target, const Rect& box, uint32_t pixel) {
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint32_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.stridePixels;
        if constexpr (op == RasterOp::Copy) {
            std::fill(row + box.left, row + box.right, pixel);
        } else {
            for (int32_t x = box.left; x < box.right; ++x) {
                applyPixel<op>(row[x], pixel);
            }
        }
    }
}

// Visits the pixels of the line a -> b without b (Bresenham, ties away from
// a), only those whose major coordinate lies inside `clip`; `plot` checks
// the minor one. Work is bounded by the clip, whatever the end points.
template <typename Plot>
void walkLine(Point a, Point b, const Rect& clip, Plot&& plot) {
    const int64_t dx = int64_t{b.x} - a.x;
    const int64_t dy = int64_t{b.y} - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0) {
        return;
    }
    const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const int64_t majorStart = xMajor ? a.x : a.y;
    const int64_t minorStart = xMajor ? a.y : a.x;
    const int64_t low = xMajor ? clip.left : clip.top;
    const int64_t high = xMajor ? clip.right : clip.bottom;
    int64_t first = 0;
    int64_t last = major;
    if (majorStep > 0) {
        first = std::max<int64_t>(0, low - majorStart);
        last = std::min<int64_t>(major, high - majorStart);
    } else {
        first = std::max<int64_t>(0, majorStart - high + 1);
        last = std::min<int64_t>(major, majorStart - low + 1);
    }
    if (first >= last) {
        return;
    }
    const int64_t twiceMajor = 2 * major;
    int64_t numerator = 2 * first * minor + major;
    int64_t offset = numerator / twiceMajor;
    numerator %= twiceMajor;
    for (int64_t i = first; i < last; ++i) {
        const int64_t m = majorStart + majorStep * i;
        const int64_t n = minorStart + minorStep * offset;
        if (xMajor) {
            plot(static_cast<int32_t>(m), static_cast<int32_t>(n));
        } else {
            plot(static_cast<int32_t>(n), static_cast<int32_t>(m));
        }
        numerator += 2 * minor;
        if (numerator >= twiceMajor) {
            numerator -= twiceMajor;
            ++offset;
        }
    }
}

// The common case of a line wholly inside the clip: pointer steps only.
template <RasterOp op>
void unclippedLine(const PixelSurface& target, Point a, Point b, uint32_t pixel) {
    const int32_t dx = b.x - a.x;
    const int32_t dy = b.y - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int32_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const int32_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const ptrdiff_t xStep = dx > 0 ? 1 : -1;
    const ptrdiff_t yStep = dy > 0 ? target.stridePixels : -ptrdiff_t{target.stridePixels};
    const ptrdiff_t majorStep = xMajor ? xStep : yStep;
    const ptrdiff_t minorStep = xMajor ? yStep : xStep;
    uint32_t* at = target.pixels + static_cast<ptrdiff_t>(a.y) * target.stridePixels + a.x;
    if (minor == 0) {
        for (int32_t i = 0; i < major; ++i, at += majorStep) {
            applyPixel<op>(*at, pixel);
        }
        return;
    }
    int64_t numerator = major;
    const int64_t twiceMajor = 2 * int64_t{major};
    const int64_t twiceMinor = 2 * int64_t{minor};
    for (int32_t i = 0; i < major; ++i) {
        applyPixel<op>(*at, pixel);
        at += majorStep;
        numerator += twiceMinor;
        if (numerator >= twiceMajor) {
            numerator -= twiceMajor;
            at += minorStep;
        }
    }
}

template <RasterOp op>
void thinLine(const PixelSurface& target, const Rect& clip, Point a, Point b, uint32_t pixel) {
    const Rect bounds = Rect{a.x, a.y, b.x, b.y}.normalized();
    if (bounds.left >= clip.left && bounds.right < clip.right && bounds.top >= clip.top &&
        bounds.bottom < clip.bottom) {
        unclippedLine<op>(target, a, b, pixel);
        return;
    }
    walkLine(a, b, clip, [&](int32_t x, int32_t y) {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) {
            applyPixel<op>(target.pixels[static_cast<ptrdiff_t>(y) * target.stridePixels + x], pixel);
        }
    });
}

// The frame of `outer` around `inner`, as four rectangles that do not
// overlap, so that XOR inverts every pixel once.
std::vector<Rect> frameBands(const Rect& outer, const Rect& inner) {
    if (inner.isEmpty()) {
        return {outer};
    }
    return {
        Rect{outer.left, outer.top, outer.right, inner.top}, Rect{outer.left, inner.bottom, outer.right, outer.bottom},
        Rect{outer.left, inner.top, inner.left, inner.bottom}, Rect{inner.right, inner.top, outer.right, inner.bottom}};
}

}  // namespace

void RasterCanvas::fillDeviceRect(const Rect& device, uint32_t pixel, RasterOp op) {
    const Rect box = device.intersected(clip_);
    if (box.isEmpty() || target_.pixels == nullptr) {
        return;
    }
    switch (op) {
    case RasterOp::Copy: fillSpans<RasterOp::Copy>(target_, box, pixel); break;
    case RasterOp::Xor: fillSpans<RasterOp::Xor>(target_, box, pixel); break;
    case RasterOp::NotXor: fillSpans<RasterOp::NotXor>(target_, box, pixel); break;
    }
}

void RasterCanvas::plotLine(Point from, Point to, uint32_t pixel, int32_t widthPixels) {
    if (clip_.isEmpty() || target_.pixels == nullptr) {
        return;
    }
    if (widthPixels <= 1) {
        switch (state().rasterOp) {
        case RasterOp::Copy: thinLine<RasterOp::Copy>(target_, clip_, from, to, pixel); break;
        case RasterOp::Xor: thinLine<RasterOp::Xor>(target_, clip_, from, to, pixel); break;
        case RasterOp::NotXor: thinLine<RasterOp::NotXor>(target_, clip_, from, to, pixel); break;
        }
        return;
    }
    const int32_t half = widthPixels / 2;
    if (from.x == to.x || from.y == to.y) {
        // The pixels of the thin line, without its last point.
        const Point last{to.x - (to.x > from.x) + (to.x < from.x), to.y - (to.y > from.y) + (to.y < from.y)};
        const Rect span{std::min(from.x, last.x), std::min(from.y, last.y), std::max(from.x, last.x) + 1,
                        std::max(from.y, last.y) + 1};
        fillDeviceRect(Rect{span.left - half, span.top - half, span.right - 1 - half + widthPixels,
                            span.bottom - 1 - half + widthPixels},
                       pixel, RasterOp::Copy);
        return;
    }
    // A slanted wide pen stamps a square of its width on every pixel of the line.
    const Rect reach{clip_.left - widthPixels, clip_.top - widthPixels, clip_.right + widthPixels,
                     clip_.bottom + widthPixels};
    walkLine(from, to, reach, [&](int32_t x, int32_t y) {
        fillDeviceRect(Rect{x - half, y - half, x - half + widthPixels, y - half + widthPixels}, pixel, RasterOp::Copy);
    });
}

void RasterCanvas::plotPixel(Point at, uint32_t pixel) {
    if (at.x < clip_.left || at.x >= clip_.right || at.y < clip_.top || at.y >= clip_.bottom) {
        return;
    }
    uint32_t& destination = target_.pixels[static_cast<ptrdiff_t>(at.y) * target_.stridePixels + at.x];
    switch (state().rasterOp) {
    case RasterOp::Copy: applyPixel<RasterOp::Copy>(destination, pixel); break;
    case RasterOp::Xor: applyPixel<RasterOp::Xor>(destination, pixel); break;
    case RasterOp::NotXor: applyPixel<RasterOp::NotXor>(destination, pixel); break;
    }
}

void RasterCanvas::drawLine(Point fromLogical, Point toLogical) {
    if (state().pen.isNull()) return;
    const Point from = toDevice(fromLogical);
    const Point end = toDevice(toLogical);
    const int32_t widthPixels = penWidthPixels();
    if (widthPixels <= 1 && std::abs(end.x - from.x) <= 1 && std::abs(end.y - from.y) <= 1) {
        // A one-pixel step (the millimetre dots of the ECG paper) sets
        // its first pixel only, as the walk of a longer line would.
        if (from != end && target_.pixels != nullptr) plotPixel(from, pixelFromColor(state().pen.color));
    } else {
        plotLine(from, end, pixelFromColor(state().pen.color), widthPixels);
    }
}

void RasterCanvas::rectangle(const Rect& rect) {
    const Rect device = toDevice(rect).normalized();
    if (state().pen.isNull()) {
        if (!state().brush.isNull()) {
            const Rect inside{device.left, device.top, device.right - 1, device.bottom - 1};
            fillDeviceRect(inside, pixelFromColor(state().brush.color), state().rasterOp);
        }
        return;
    }
    const int32_t width = penWidthPixels();
    const int32_t half = width / 2;
    const Rect outer{device.left - half, device.top - half, device.right - 1 - half + width,
                     device.bottom - 1 - half + width};
    const Rect inner{device.left - half + width, device.top - half + width, device.right - 1 - half,
                     device.bottom - 1 - half};
    if (!state().brush.isNull() && !inner.isEmpty()) {
        fillDeviceRect(inner, pixelFromColor(state().brush.color), state().rasterOp);
    }
    for (const Rect& band : frameBands(outer, inner)) {
        fillDeviceRect(band, pixelFromColor(state().pen.color), state().rasterOp);
    }
}

void RasterCanvas::fillRect(const Rect& rect, const Brush& brush) {
    if (!brush.isNull()) {
        fillDeviceRect(toDevice(rect).normalized(), pixelFromColor(brush.color), RasterOp::Copy);
    }
}

void RasterCanvas::textOut(Point at, std::string_view text) {
    RasterTextRenderer& renderer = this->text();
    const int32_t width = renderer.layout(text);
    const Point device = toDevice(at);
    int32_t x = device.x;
    if (horizontalPart(state().textAlign) == TextAlign::Center) {
        x -= width / 2;
    } else if (horizontalPart(state().textAlign) == TextAlign::Right) {
        x -= width;
    }
    int32_t baseline = device.y;
    if (verticalPart(state().textAlign) == TextAlign::Top) {
        baseline += renderer.ascent();
    } else if (verticalPart(state().textAlign) == TextAlign::Bottom) {
        baseline -= renderer.descent();
    }
    if (state().bkMode == BackgroundMode::Opaque) {
        const Rect cell{x, baseline - renderer.ascent(), x + width, baseline + renderer.descent()};
        fillDeviceRect(cell, pixelFromColor(state().bkColor), RasterOp::Copy);
    }
    renderer.draw(target_, clip_, Point{x, baseline}, pixelFromColor(state().textColor));
}

int32_t RasterCanvas::drawText(const Rect& rect, std::string_view text, DrawTextFormat format) {
    RasterTextRenderer& renderer = this->text();
    const Rect box = toDevice(rect).normalized();
    const bool singleLine = hasFlag(format, DrawTextFormat::SingleLine);
    std::vector<std::string_view> lines;
    for (size_t start = 0;;) {
        const size_t end = singleLine ? std::string_view::npos : text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const int32_t lineHeight = renderer.ascent() + renderer.descent();
    int32_t top = box.top;
    if (singleLine && hasFlag(format, DrawTextFormat::VerticalCenter)) {
        top = box.top + (box.height() - lineHeight) / 2;
    } else if (singleLine && hasFlag(format, DrawTextFormat::Bottom)) {
        top = box.bottom - lineHeight;
    }
    const Rect savedClip = clip_;
    if (!hasFlag(format, DrawTextFormat::NoClip)) {
        clip_ = clip_.intersected(box);
    }
    for (const std::string_view line : lines) {
        const int32_t width = renderer.layout(line);
        int32_t x = box.left;
        if (hasFlag(format, DrawTextFormat::Right)) {
            x = box.right - width;
        } else if (hasFlag(format, DrawTextFormat::Center)) {
            x = box.left + (box.width() - width) / 2;
        }
        if (state().bkMode == BackgroundMode::Opaque) {
            fillDeviceRect(Rect{x, top, x + width, top + lineHeight}, pixelFromColor(state().bkColor), RasterOp::Copy);
        }
        if (!clip_.isEmpty()) {
            renderer.draw(target_, clip_, Point{x, top + renderer.ascent()}, pixelFromColor(state().textColor));
        }
        top += lineHeight;
    }
    clip_ = savedClip;
    return lengthToLogical(lineHeight * static_cast<int32_t>(lines.size()));
}

Size RasterCanvas::textExtent(std::string_view text) {
    RasterTextRenderer& renderer = this->text();
    const int32_t width = renderer.layout(text);
    return Size{lengthToLogical(width), lengthToLogical(renderer.ascent() + renderer.descent())};
}

void RasterCanvas::bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) {
    const PixelSurface from = source.pixels();
    if (target_.pixels == nullptr || from.pixels == nullptr) return;
    const Rect device = toDevice(destination).normalized();
    const int32_t dx = device.left - sourceOrigin.x;
    const int32_t dy = device.top - sourceOrigin.y;
    const Rect box = device.intersected(clip_).intersected(Rect{dx, dy, dx + from.width, dy + from.height});
    if (box.isEmpty()) return;
    const size_t rowBytes = static_cast<size_t>(box.width()) * sizeof(uint32_t);
    auto destinationRow = [&](int32_t y) {
        return target_.pixels + static_cast<ptrdiff_t>(y) * target_.stridePixels + box.left;
    };
    auto sourceRow = [&](int32_t y) {
        return from.pixels + static_cast<ptrdiff_t>(y - dy) * from.stridePixels + (box.left - dx);
    };
    // Within one framebuffer a copy downward must start at the bottom row.
    const bool upward = destinationRow(box.top) > sourceRow(box.top);
    for (int32_t k = 0; k < box.height(); ++k) {
        const int32_t y = upward ? box.bottom - 1 - k : box.top + k;
        std::memmove(destinationRow(y), sourceRow(y), rowBytes);
    }
}

}  // namespace lumen
