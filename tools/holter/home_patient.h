// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

namespace lumen {

class Recording;

// The language of a home's color.ini, as the viewer reads it; a home
// without one is English, as a bad language key is.
int32_t homeLanguage(const std::string& programDirectory);
// The recording's patient line in UTF-8, read in the code page of the
// home's language, without its line break.
std::string homePatientText(Recording& recording, const std::string& programDirectory);

}  // namespace lumen
