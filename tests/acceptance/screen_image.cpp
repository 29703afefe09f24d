// SPDX-License-Identifier: GPL-3.0-or-later
#include "acceptance/screen_image.h"

#include <algorithm>
#include <map>

#include "platform/draw/raster_canvas.h"

namespace lumen::testing {
namespace {

template <typename Visit>
void forEachPixel(const RasterCanvas* image, Region region, Visit visit) {
    if (image == nullptr) return;
    const Size size = image->deviceSize();
    for (int32_t y = std::max(region.top, 0); y < std::min(region.bottom, size.height); ++y) {
        for (int32_t x = std::max(region.left, 0); x < std::min(region.right, size.width); ++x)
            visit(x, y, image->colorAt(x, y));
    }
}

std::map<Color, int64_t> histogram(const RasterCanvas* image, Region region) {
    std::map<Color, int64_t> colors;
    forEachPixel(image, region, [&](int32_t, int32_t, Color color) { ++colors[color]; });
    return colors;
}

}  // namespace

ScreenImage::ScreenImage(const std::string& pngPath) : image_(RasterCanvas::loadPng(pngPath)) {}
ScreenImage::~ScreenImage() = default;
ScreenImage::ScreenImage(ScreenImage&&) noexcept = default;
ScreenImage& ScreenImage::operator=(ScreenImage&&) noexcept = default;

int32_t ScreenImage::width() const { return image_ ? image_->deviceSize().width : 0; }
int32_t ScreenImage::height() const { return image_ ? image_->deviceSize().height : 0; }

int64_t ScreenImage::count(Region region, Color color) const {
    int64_t found = 0;
    forEachPixel(image_.get(), region, [&](int32_t, int32_t, Color pixel) { found += pixel == color ? 1 : 0; });
    return found;
}

int64_t ScreenImage::nonBackground(Region region) const {
    const std::map<Color, int64_t> colors = histogram(image_.get(), region);
    int64_t total = 0;
    int64_t most = 0;
    for (const auto& [color, n] : colors) {
        total += n;
        most = std::max(most, n);
    }
    return total - most;
}

int64_t ScreenImage::distinctColors(Region region) const {
    return static_cast<int64_t>(histogram(image_.get(), region).size());
}

int32_t ScreenImage::rowsWith(Region region, Color color) const {
    int32_t rows = 0;
    for (int32_t y = region.top; y < region.bottom; ++y)
        rows += count(Region{region.left, y, region.right, y + 1}, color) > 0 ? 1 : 0;
    return rows;
}

int64_t ScreenImage::differences(const ScreenImage& other, Region region) const {
    if (!other.image_) return 0;
    int64_t found = 0;
    forEachPixel(image_.get(), region,
                 [&](int32_t x, int32_t y, Color pixel) { found += pixel != other.image_->colorAt(x, y) ? 1 : 0; });
    return found;
}

}  // namespace lumen::testing
