// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/pdf_canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/draw/pdf_document.h"
#include "platform/draw/raster_canvas.h"

namespace lumen {

namespace {

constexpr double pointsPerInch = 72.0;
constexpr double devicePixelPoints = pointsPerInch / PdfDocument::dotsPerInch;

}  // namespace

PdfCanvas::PdfCanvas(_cairo* context, Size pageHundredthMm)
    : Canvas(MapMode::HundredthMillimetre), context_(context), page_(pageHundredthMm) {
    cairo_save(context_);
}

PdfCanvas::~PdfCanvas() {
    flush();
    cairo_restore(context_);
}

double PdfCanvas::pointsPerUnit(MapMode mapMode) {
    return mapMode == MapMode::Pixels ? devicePixelPoints : pointsPerInch / 2540.0;
}

PdfCanvas::PointF PdfCanvas::toPoints(Point logical, MapMode mapMode) {
    const double scale = pointsPerUnit(mapMode);
    const double ySign = mapMode == MapMode::Pixels ? 1.0 : -1.0;
    return PointF{logical.x * scale, ySign * logical.y * scale};
}

PdfCanvas::RectF PdfCanvas::toPoints(const Rect& logical, MapMode mapMode) {
    const PointF a = toPoints(Point{logical.left, logical.top}, mapMode);
    const PointF b = toPoints(Point{logical.right, logical.bottom}, mapMode);
    return RectF{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int32_t PdfCanvas::pointsToLogical(double points) const {
    return static_cast<int32_t>(std::lround(points / pointsPerUnit()));
}

Size PdfCanvas::deviceSize() const {
    constexpr double dotsPerHundredthMm = PdfDocument::dotsPerInch / 2540.0;
    return Size{static_cast<int32_t>(std::lround(page_.width * dotsPerHundredthMm)),
                static_cast<int32_t>(std::lround(page_.height * dotsPerHundredthMm))};
}

void PdfCanvas::setSourceColor(Color color) {
    cairo_set_source_rgb(context_, redOf(color) / 255.0, greenOf(color) / 255.0, blueOf(color) / 255.0);
}

void PdfCanvas::flush() {
    if (pendingLine_.size() < 2) {
        pendingLine_.clear();
        return;
    }
    const double width = std::max(std::abs(pendingPen_.width) * pointsPerUnit(), devicePixelPoints);
    const bool wide = width > devicePixelPoints * 1.5;
    cairo_new_path(context_);
    cairo_move_to(context_, pendingLine_.front().x, pendingLine_.front().y);
    for (size_t i = 1; i < pendingLine_.size(); ++i) {
        cairo_line_to(context_, pendingLine_[i].x, pendingLine_[i].y);
    }
    cairo_set_line_width(context_, width);
    cairo_set_line_cap(context_, wide ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(context_, wide ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    setSourceColor(pendingPen_.color);
    cairo_stroke(context_);
    pendingLine_.clear();
}

void PdfCanvas::clipChanged() {
    cairo_reset_clip(context_);
    if (const std::optional<CanvasClip>& clip = state().clip) {
        const RectF box = toPoints(clip->rect, clip->mapMode);
        cairo_new_path(context_);
        cairo_rectangle(context_, box.left, box.top, box.right - box.left, box.bottom - box.top);
        cairo_clip(context_);
    }
}

// Paper has no XOR: every raster op prints as a plain copy.
void PdfCanvas::drawLine(Point fromLogical, Point to) {
    const PointF from = toPoints(fromLogical);
    if (state().pen.isNull()) {
        return;
    }
    const bool continues = !pendingLine_.empty() && pendingPen_ == state().pen && pendingLine_.back().x == from.x &&
                           pendingLine_.back().y == from.y;
    if (!continues) {
        flush();
        pendingPen_ = state().pen;
        pendingLine_.push_back(from);
    }
    pendingLine_.push_back(toPoints(to));
}

void PdfCanvas::fillPoints(const RectF& rect, Color color) {
    cairo_new_path(context_);
    cairo_rectangle(context_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setSourceColor(color);
    cairo_fill(context_);
}

void PdfCanvas::rectangle(const Rect& rect) {
    flush();
    const RectF box = toPoints(rect);
    if (!state().brush.isNull()) {
        fillPoints(box, state().brush.color);
    }
    if (!state().pen.isNull()) {
        pendingPen_ = state().pen;
        pendingLine_ = {PointF{box.left, box.top}, PointF{box.right, box.top}, PointF{box.right, box.bottom},
                        PointF{box.left, box.bottom}, PointF{box.left, box.top}};
        flush();
    }
}

void PdfCanvas::fillRect(const Rect& rect, const Brush& brush) {
    flush();
    if (!brush.isNull()) {
        fillPoints(toPoints(rect), brush.color);
    }
}

void PdfCanvas::bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) {
    flush();
    const PixelSurface pixels = source.pixels();
    if (pixels.pixels == nullptr) {
        return;
    }
    const RectF box = toPoints(destination);
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels.pixels), CAIRO_FORMAT_RGB24, pixels.width, pixels.height,
        pixels.stridePixels * static_cast<int>(sizeof(uint32_t)));
    cairo_save(context_);
    cairo_new_path(context_);
    cairo_rectangle(context_, box.left, box.top, box.right - box.left, box.bottom - box.top);
    cairo_clip(context_);
    cairo_translate(context_, box.left, box.top);
    cairo_scale(context_, devicePixelPoints, devicePixelPoints);
    cairo_set_source_surface(context_, image, -sourceOrigin.x, -sourceOrigin.y);
    cairo_paint(context_);
    cairo_restore(context_);
    cairo_surface_destroy(image);
}

std::unique_ptr<Image> PdfCanvas::createCompatibleImage(Size sizePixels) const {
    auto image = std::make_unique<RasterCanvas>(sizePixels);
    image->setDotsPerInch(PdfDocument::dotsPerInch);
    return image;
}

}  // namespace lumen
