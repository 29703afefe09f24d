// SPDX-License-Identifier: GPL-3.0-or-later
// The small text files that an opened file leaves beside its recording and
// in the user's cache: the recording's source.txt (date, true length,
// marker texts) and the list of recordings opened lately. A damaged file
// gives nothing, or skips its line, and never crashes; what the sidecar
// gives back it writes the same again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "assembly/recording_sidecar.h"
#include "cache/recent_recordings.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string warning;
    const SourceNotes notes = RecordingSidecar::parse(text, "source.txt", warning);
    if (!notes.empty()) {
        std::string again;
        const SourceNotes reread = RecordingSidecar::parse(RecordingSidecar::format(notes), "source.txt", again);
        if (!again.empty() || reread.markers != notes.markers || reread.sourceTicks != notes.sourceTicks)
            __builtin_trap();
    }
    const fuzz::ScratchFolder& scratch = fuzz::ScratchFolder::instance();
    const RecentRecordings recent(scratch.write("recent.txt", text));
    for (const RecentRecordings::Entry& entry : recent.load())
        if (entry.sourcePath.empty() || entry.homeFolder.empty()) __builtin_trap();
    return 0;
}
