// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "store/code_table.h"
#include "store/recording.h"

namespace lumen::fuzz {

// The program home of the recording harnesses, in the scratch folder:
// huffman.ko2 (a built-in table unless the input brings one), path.tmp
// naming the folder itself, and holter.mem written from the input.
class FuzzHome {
public:
    // A canonical length-limited code for differences that grow rarer
    // with their size; every difference has a code.
    static const CodeTable& defaultCodeTable();

    // Writes the built-in huffman.ko2 and path.tmp (once per process).
    static void prepare();
    static void writeCodeTableText(std::span<const uint8_t> text);
    static void writeRecording(std::span<const uint8_t> bytes);
    // As the viewer opens it: the code table, path.tmp, then holter.mem.
    static std::unique_ptr<Recording> open(RecordingAccess access = RecordingAccess::Read);
    // The bytes of holter.mem as they are on disk now.
    static std::vector<uint8_t> recordingOnDisk();

    // True when a section of holter.mem claims to run far past the end of
    // the file. Its records past the end all read as zeros, so such an
    // input covers nothing new, yet a 16 MiB section of markers costs
    // seconds; the harnesses pass over it.
    static bool reachesFarPastEnd(std::span<const uint8_t> recording);

    // At most `cap` block numbers spread evenly from 0 to two blocks past
    // the end, so that one long recording cannot take seconds.
    static std::vector<int32_t> spreadBlocks(int32_t blockCount, int32_t cap);
};

}  // namespace lumen::fuzz
