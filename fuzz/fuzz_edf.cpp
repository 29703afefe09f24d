// SPDX-License-Identifier: GPL-3.0-or-later
// An EDF, EDF+, BDF or BDF+ file as the input, opened through EDFlib as an
// import opens it: the signals chosen, their units read, the annotations
// taken, every sample read; a cut-short file's size check runs on the way.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "import/edf/edf_record.h"
#include "import/import_error.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    const std::string path = fuzz::ScratchFolder::instance().write("fuzz.edf", std::span(data, size));
    try {
        SourceRecording source = EdfRecord::open(path, {});
        std::vector<float> a(4096), b(4096);
        while (source.signal->read(a, b) > 0) {
        }
    } catch (const ImportError&) {
    }
    return 0;
}
