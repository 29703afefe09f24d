// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace lumen {

// The face to ask GDI for: the drawing code's default faces are the Linux
// names of the Windows ones.
std::wstring windowsFaceName(std::string_view faceName);

// The pitch and family GDI falls back on when the face is missing: a system
// without Arial or Times New Roman substitutes a sans or serif face of its
// own by this family, so a serif face must say so.
BYTE pitchAndFamilyOf(std::string_view faceName);

}  // namespace lumen
