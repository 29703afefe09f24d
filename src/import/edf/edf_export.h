// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "import/export_content.h"

namespace lumen {

// Writes an EDF+ file through EDFlib: both channels at 50 Hz in µV, one
// data record a second, and every beat (N, S, V, Q), episode (its row name,
// with its duration) and patient marker ("Manual") as an annotation.
class EdfExport {
public:
    // Returns an empty string on success, else what went wrong.
    static std::string write(const std::string& path, const ExportContent& content);
};

}  // namespace lumen
