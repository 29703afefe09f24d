// SPDX-License-Identifier: GPL-3.0-or-later
// A MIT-format annotation file as the input: parsed; what parses is
// written again and must read back to the same annotations.
#include <cstddef>
#include <cstdint>
#include <span>

#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    try {
        const auto read = WfdbAnnotations::parse(std::span(data, size), "fuzz.atr");
        for (size_t i = 1; i < read.size(); ++i)
            if (read[i].sample < 0) __builtin_trap();
        if (read.empty() || read.back().sample > INT32_MAX) return 0;
        const auto again = WfdbAnnotations::parse(WfdbAnnotations::format(read), "again.atr");
        if (again.size() != read.size()) __builtin_trap();
        for (size_t i = 0; i < read.size(); ++i)
            if (again[i].sample != read[i].sample || again[i].code != read[i].code) __builtin_trap();
    } catch (const ImportError&) {
    }
    return 0;
}
