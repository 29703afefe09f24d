// SPDX-License-Identifier: GPL-3.0-or-later
#include <png.h>

#include <cstring>
#include <vector>

#include "platform/draw/raster_canvas.h"

namespace lumen {

namespace {

constexpr int32_t largestPngSide = 1 << 15;

}  // namespace

bool RasterCanvas::savePng(const std::string& path) const {
    const PixelSurface pixels = surface();
    if (pixels.pixels == nullptr || pixels.width <= 0 || pixels.height <= 0) {
        return false;
    }
    std::vector<uint8_t> rgbRows(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height) * 3);
    size_t out = 0;
    for (int32_t y = 0; y < pixels.height; ++y) {
        const uint32_t* row = pixels.pixels + static_cast<ptrdiff_t>(y) * pixels.stridePixels;
        for (int32_t x = 0; x < pixels.width; ++x) {
            rgbRows[out++] = static_cast<uint8_t>(row[x] >> 16);
            rgbRows[out++] = static_cast<uint8_t>(row[x] >> 8);
            rgbRows[out++] = static_cast<uint8_t>(row[x]);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.width);
    image.height = static_cast<png_uint_32>(pixels.height);
    image.format = PNG_FORMAT_RGB;
    const int written = png_image_write_to_file(&image, path.c_str(), 0, rgbRows.data(), 0, nullptr);
    png_image_free(&image);
    return written != 0;
}

std::unique_ptr<RasterCanvas> RasterCanvas::loadPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return nullptr;
    }
    if (image.width == 0 || image.height == 0 || image.width > largestPngSide || image.height > largestPngSide) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgbRows(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgbRows.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return nullptr;
    }
    const auto width = static_cast<int32_t>(image.width);
    const auto height = static_cast<int32_t>(image.height);
    auto canvas = std::make_unique<RasterCanvas>(Size{width, height});
    size_t in = 0;
    for (uint32_t& pixel : canvas->ownPixels_) {
        pixel = (uint32_t{rgbRows[in]} << 16) | (uint32_t{rgbRows[in + 1]} << 8) | rgbRows[in + 2];
        in += 3;
    }
    png_image_free(&image);
    return canvas;
}

}  // namespace lumen
