// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/font.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace lumen {

// Sizes of a font at one height, in the units that height was given in.
struct FontScale {
    double emSize = 0.0;  // the size FreeType and cairo want
    double ascent = 0.0;
    double descent = 0.0;
};

// One font file opened with FreeType, found by the font's description and
// kept for the life of the process. Its metrics follow GDI: a positive
// height is the cell (Windows ascent + descent), a negative one the em.
class FontFace {
public:
    // The face serving `font`, or nullptr when none can be opened.
    static FontFace* find(const Font& font);

    FontScale scaleFor(int32_t height) const;
    FT_FaceRec_* ftFace() const { return face_; }
    // A new FreeType handle on the same file, for a back-end that sizes
    // its own; nullptr when it cannot be opened.
    FT_FaceRec_* openAnotherHandle() const;

private:
    FontFace() = default;

    FT_FaceRec_* face_ = nullptr;
    const char* path_ = nullptr;
    int index_ = 0;
    double unitsPerEm_ = 2048.0;
    double ascentUnits_ = 0.0;
    double descentUnits_ = 0.0;
};

FT_LibraryRec_* freetypeLibrary();

}  // namespace lumen
