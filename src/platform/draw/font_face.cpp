// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/draw/font_resolver.h"

namespace lumen {

namespace {

constexpr int32_t defaultCellHeight = 16;

// Faces live until the process ends, as the fonts of the drawing code do.
std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>>& faceCache() {
    static auto* cache = new std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>>();
    return *cache;
}

}  // namespace

FT_LibraryRec_* freetypeLibrary() {
    static FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0) {
            created = nullptr;
        }
        return created;
    }();
    return library;
}

FontFace* FontFace::find(const Font& font) {
    const FontFile& file = resolveFontFile(font);
    if (!file.isValid() || freetypeLibrary() == nullptr) {
        return nullptr;
    }
    auto& cache = faceCache();
    const auto key = std::make_pair(file.path, file.index);
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second.get();
    }
    std::unique_ptr<FontFace> face(new FontFace());
    FT_Face ftFace = nullptr;
    if (FT_New_Face(freetypeLibrary(), file.path.c_str(), file.index, &ftFace) != 0) {
        cache.emplace(key, nullptr);
        return nullptr;
    }
    face->face_ = ftFace;
    face->path_ = file.path.c_str();
    face->index_ = file.index;
    face->unitsPerEm_ = ftFace->units_per_EM > 0 ? ftFace->units_per_EM : 2048.0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        face->ascentUnits_ = os2->usWinAscent;
        face->descentUnits_ = os2->usWinDescent;
    } else {
        face->ascentUnits_ = ftFace->ascender;
        face->descentUnits_ = -ftFace->descender;
    }
    if (face->ascentUnits_ + face->descentUnits_ <= 0.0) {
        face->ascentUnits_ = face->unitsPerEm_ * 0.8;
        face->descentUnits_ = face->unitsPerEm_ * 0.2;
    }
    FontFace* result = face.get();
    auto inserted = cache.emplace(key, std::move(face)).first;
    result->path_ = inserted->first.first.c_str();
    return result;
}

FontScale FontFace::scaleFor(int32_t height) const {
    const double cellUnits = ascentUnits_ + descentUnits_;
    double emSize = 0.0;
    if (height > 0) {
        emSize = height * unitsPerEm_ / cellUnits;
    } else if (height < 0) {
        emSize = -static_cast<double>(height);
    } else {
        emSize = defaultCellHeight * unitsPerEm_ / cellUnits;
    }
    const double unitsToSize = emSize / unitsPerEm_;
    return FontScale{emSize, ascentUnits_ * unitsToSize, descentUnits_ * unitsToSize};
}

FT_FaceRec_* FontFace::openAnotherHandle() const {
    FT_Face ftFace = nullptr;
    if (path_ == nullptr || FT_New_Face(freetypeLibrary(), path_, index_, &ftFace) != 0) {
        return nullptr;
    }
    return ftFace;
}

}  // namespace lumen
