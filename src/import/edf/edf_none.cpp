// SPDX-License-Identifier: GPL-3.0-or-later
// Built without EDFlib: EDF and BDF files are named as such and refused.
#include "import/edf/edf_export.h"
#include "import/edf/edf_record.h"
#include "import/import_error.h"

namespace lumen {

namespace {

constexpr const char* kNoEdf = "EDF and BDF files need EDFlib, which this build of holter does not have";

}  // namespace

SourceRecording EdfRecord::open(const std::string& path, const std::vector<std::string>& /*channels*/) {
    throw ImportError(path, kNoEdf);
}

std::string EdfExport::write(const std::string& /*path*/, const ExportContent& /*content*/) { return kNoEdf; }

}  // namespace lumen
