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

}  // namespace lumen
