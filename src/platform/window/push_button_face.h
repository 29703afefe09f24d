// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "platform/draw/canvas.h"

namespace lumen {

enum class ButtonFace : uint8_t { Raised, Pressed };

// The face of a plain push button: grey, bevelled, the label centred.
void drawPushButtonFace(Canvas& canvas, const Rect& rect, std::string_view label, ButtonFace face);

}  // namespace lumen
