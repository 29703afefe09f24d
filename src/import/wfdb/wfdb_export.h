// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "import/export_content.h"

namespace lumen {

// Writes a recording as a WFDB record in folder DIR, named after the
// folder: DIR/NAME.hea, the two channels at 50 Hz in format 16 and
// DIR/NAME.atr with the beat labels (N, S, V and Q for artefacts); the
// header gives the start time and, when known, the date. The folder
// appears only when every file is written.
class WfdbExport {
public:
    static std::string write(const std::string& directory, const ExportContent& content);
};

}  // namespace lumen
