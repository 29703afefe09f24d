// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/draw/font.h"

namespace lumen {

// The font file that stands for a font's face name, weight and slant on
// this system ("Arial" is served by Liberation Sans).
struct FontFile {
    std::string path;
    int index = 0;
    bool isValid() const { return !path.empty(); }
};

// Asks fontconfig once per (face name, weight, slant) and remembers it.
const FontFile& resolveFontFile(const Font& font);

// Starts reading fontconfig's configuration and font cache on a thread of
// its own, so that it overlaps the rest of the start-up; the first
// resolveFontFile waits for it. Calling it again does nothing.
void prepareFontConfiguration();

}  // namespace lumen
