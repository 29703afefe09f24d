// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/windows_font.h"

#include <algorithm>
#include <cctype>

#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

bool sameFace(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::wstring windowsFaceName(std::string_view faceName) {
    if (sameFace(faceName, "Liberation Sans")) return L"Arial";
    if (sameFace(faceName, "Liberation Serif")) return L"Times New Roman";
    return wideFromUtf8(faceName);
}

BYTE pitchAndFamilyOf(std::string_view faceName) {
    if (sameFace(faceName, "Times New Roman") || sameFace(faceName, "Liberation Serif")) {
        return VARIABLE_PITCH | FF_ROMAN;
    }
    if (sameFace(faceName, "Arial") || sameFace(faceName, "Liberation Sans")) return VARIABLE_PITCH | FF_SWISS;
    return DEFAULT_PITCH;
}

}  // namespace lumen
