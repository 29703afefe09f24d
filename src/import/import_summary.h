// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "import/recording_importer.h"
#include "import/source_recording.h"

namespace lumen {

// The one line an import says when it has made a home: the source, the
// recording it became, and what the source lacked or what was left out.
std::string importSummary(const SourceRecording& source, const ImportedRecording& imported, const std::string& home,
                          bool detect);

}  // namespace lumen
