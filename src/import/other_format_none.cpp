// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/import_error.h"
#include "import/other_format_record.h"

namespace lumen {

bool OtherFormatRecord::available() { return false; }

SourceRecording OtherFormatRecord::open(const std::string& source, const std::vector<std::string>&) {
    throw ImportError(source,
                      "not a format Lumen imports (WFDB .hea, EDF/EDF+/BDF/BDF+, ISHNE .ecg); this build reads no "
                      "other formats, as libbiosig was not available to it (the Windows build has none)");
}

}  // namespace lumen
