// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "lang/language_texts.h"
#include "platform/draw/image.h"
#include "view/pixel_streams.h"
#include "view/strip_drawing_objects.h"
#include "view/strip_view.h"

namespace lumen {

// Everything one paint of the strip draws with: the off-screen image, the
// drawing objects, the settings and the pixel streams of this paint.
struct StripScene {
    Image& image;
    const StripDrawingObjects& objects;
    const LanguageTexts& texts;
    StripView& view;
    PixelStreams& streams;
    int32_t width = 0;   // W, the strip width
    int32_t height = 0;  // H, the pane and image height
    int32_t displayMultiplier = 1;
};

}  // namespace lumen
