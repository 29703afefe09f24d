// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "acceptance/day_home.h"
#include "platform/draw/color.h"

namespace lumen {
class RasterCanvas;
}

namespace lumen::testing {

// A screenshot read back from its PNG file, asked about colours in regions.
class ScreenImage {
public:
    explicit ScreenImage(const std::string& pngPath);
    ~ScreenImage();
    ScreenImage(ScreenImage&&) noexcept;
    ScreenImage& operator=(ScreenImage&&) noexcept;
    bool loaded() const { return image_ != nullptr; }
    int32_t width() const;
    int32_t height() const;

    int64_t count(Region region, Color color) const;
    // Pixels whose colour differs from the region's most frequent colour.
    int64_t nonBackground(Region region) const;
    int64_t distinctColors(Region region) const;
    // How many rows of the region hold the colour at least once.
    int32_t rowsWith(Region region, Color color) const;
    // Pixels of the region that differ between the two images.
    int64_t differences(const ScreenImage& other, Region region) const;

private:
    std::unique_ptr<RasterCanvas> image_;
};

// The demo home's colours (color.ini, TBcolor.ini).
inline constexpr Color kTraceColor = rgb(20, 24, 40);
inline constexpr Color kVentricularColor = rgb(190, 0, 0);
inline constexpr Color kSupraventricularColor = rgb(0, 70, 190);
inline constexpr Color kTextColor = rgb(0, 0, 0);
inline constexpr Color kCaliperColor = rgb(0, 130, 60);

}  // namespace lumen::testing
