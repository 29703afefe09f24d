// SPDX-License-Identifier: GPL-3.0-or-later
// An ISHNE Holter .ecg as the input, its CRC made right so that the fields
// behind it are reached: the header read, the file opened and every sample
// of the chosen leads read, and the same bytes read as an annotation file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "import/import_error.h"
#include "import/ishne/ishne_header.h"
#include "import/ishne/ishne_record.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 8) std::memcpy(bytes.data(), "ISHNE1.0", 8);
    const size_t header = IshneHeader::headerBytes(bytes);
    if (header != 0 && header <= bytes.size()) {
        const uint16_t crc = IshneHeader::crc(std::span(bytes).subspan(10, header - 10));
        bytes[8] = static_cast<uint8_t>(crc);
        bytes[9] = static_cast<uint8_t>(crc >> 8);
    }
    const std::string path = fuzz::ScratchFolder::instance().write("fuzz.ecg", bytes);
    try {
        SourceRecording source = IshneRecord::open(path, {}, "");
        std::vector<float> a(4096), b(4096);
        while (source.signal->read(a, b) > 0) {
        }
    } catch (const ImportError&) {
    }
    if (bytes.size() >= 8) std::memcpy(bytes.data(), "ANN  1.0", 8);
    try {
        parseIshneAnnotations(bytes, "fuzz.ann");
    } catch (const ImportError&) {
    }
    return 0;
}
