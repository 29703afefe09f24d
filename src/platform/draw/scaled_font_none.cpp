// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/scaled_font.h"

namespace lumen {

// Built without a text back-end: text has no glyphs and no width.
ScaledFont* ScaledFont::find(const Font& /*font*/, int32_t /*heightPixels*/) { return nullptr; }

}  // namespace lumen
