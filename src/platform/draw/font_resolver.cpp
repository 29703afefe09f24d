// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <cctype>
#include <future>
#include <map>
#include <mutex>
#include <tuple>

namespace lumen {

namespace {

using ResolveKey = std::tuple<std::string, int, int>;

std::string lowered(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

std::future<bool>& configurationLoad() {
    static std::future<bool> load;
    return load;
}

bool configurationReady() {
    prepareFontConfiguration();
    static const bool ready = configurationLoad().get();
    return ready;
}

int openTypeWeight(const Font& font) { return font.weight <= 0 ? Font::normalWeight : font.weight; }

FontFile matchFontFile(const Font& font) {
    FontFile file;
    if (!configurationReady()) {
        return file;
    }
    FcPattern* pattern = FcPatternCreate();
    const std::string family = font.faceName.empty() ? std::string("sans-serif") : font.faceName;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(openTypeWeight(font)));
    FcPatternAddInteger(pattern, FC_SLANT, font.slant == FontSlant::Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
            file.path = reinterpret_cast<const char*>(path);
        }
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
            file.index = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

}  // namespace

void prepareFontConfiguration() {
    static std::once_flag started;
    std::call_once(started,
                   [] { configurationLoad() = std::async(std::launch::async, [] { return FcInit() == FcTrue; }); });
}

const FontFile& resolveFontFile(const Font& font) {
    static std::map<ResolveKey, FontFile> resolved;
    const ResolveKey key{lowered(font.faceName), openTypeWeight(font), static_cast<int>(font.slant)};
    auto found = resolved.find(key);
    if (found == resolved.end()) {
        found = resolved.emplace(key, matchFontFile(font)).first;
    }
    return found->second;
}

}  // namespace lumen
