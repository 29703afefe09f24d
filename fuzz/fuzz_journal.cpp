// SPDX-License-Identifier: GPL-3.0-or-later
// holter.mem-journal as the input, beside a fixed recording: whatever the
// journal holds, opening the recording never crashes, and the recording
// either stays as it was or becomes exactly the one the journal names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz_home.h"
#include "harness_fatal_handler.h"
#include "scratch_folder.h"
#include "store/journal_format.h"

namespace lumen::fuzz {
namespace {

constexpr size_t kRecordingBytes = 4096;

std::vector<uint8_t> fixedRecording() {
    std::vector<uint8_t> bytes(kRecordingBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    bytes[0] = 0;  // an empty directory: nothing else to read
    return bytes;
}

void openBesideJournal(std::span<const uint8_t> journal) {
    static const std::vector<uint8_t> recording = fixedRecording();
    FuzzHome::writeRecording(recording);
    const ScratchFolder& folder = ScratchFolder::instance();
    folder.write("holter.mem-journal", journal);
    for (const RecordingAccess access : {RecordingAccess::Read, RecordingAccess::Session}) {
        (void)FuzzHome::open(access);
        const std::vector<uint8_t> after = FuzzHome::recordingOnDisk();
        JournalHeader header;
        const bool named = decodeJournalHeader(journal, header) == HeaderCheck::Valid &&
                           recordingHash(after) == header.recordingHash;
        if (after != recording && !named) std::abort();
        FuzzHome::writeRecording(recording);
        folder.write("holter.mem-journal", journal);
    }
    folder.remove("holter.mem-journal");
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::openBesideJournal(input); });
    return 0;
}
