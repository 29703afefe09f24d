#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace lumen {

// The face to ask GDI for: the drawing code's default faces are the Linux
// names of the Windows ones.
std::wstring windowsFaceName(std::string_view faceName);

// The pitch and family GDI falls back on when the face is missing. Windows
// finds Arial and Times New Roman by name; Wine has neither and substitutes
// its own sans or serif face by this family, so a serif face must say so.
BYTE pitchAndFamilyOf(std::string_view faceName);

}  // namespace lumen
