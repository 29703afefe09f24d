// SPDX-License-Identifier: GPL-3.0-or-later
// A WFDB header (RECORD.hea) as the input: parsed, and when it parses, its
// signals must be ones the reader can decode. A record of annotations only
// declares no signal at all, which is valid. Signal files are never opened:
// the header alone must be safe.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "import/import_error.h"
#include "import/wfdb/wfdb_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const WfdbHeader h = WfdbHeader::parse(text, "fuzz.hea");
        if (h.signals.size() > 64 || !(h.samplingFrequency > 0)) __builtin_trap();
        for (const WfdbSignalSpec& s : h.signals)
            if (!WfdbHeader::supportedFormat(s.format) || !(s.gainPerMv > 0)) __builtin_trap();
    } catch (const ImportError&) {}
    return 0;
}
