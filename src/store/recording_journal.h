#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "store/disk_steps.h"
#include "store/journal_format.h"

namespace lumen {

// The rollback journal kept beside holter.mem while a viewer has it open
// (layout in journal_format.h). It is created, with room for the originals
// of a whole update, when the recording is opened for corrections, so that
// saving them later needs no new disk space. Before a range of the
// recording is overwritten, its original bytes are appended and flushed to
// the device; once the new bytes are on the device the journal turns idle
// again. At the end of the session it is removed.
class RecordingJournal {
public:
    RecordingJournal() = default;
    RecordingJournal(const RecordingJournal&) = delete;
    RecordingJournal& operator=(const RecordingJournal&) = delete;
    ~RecordingJournal();

    static std::string pathFor(std::string_view recordingPath);

    // Creates the journal, idle, with room for `capacityBytes` of originals.
    bool reserve(const std::string& recordingPath, uint64_t capacityBytes);
    bool isReserved() const { return file_ != nullptr; }

    // Makes durable that an update of the recording, as it is now, begins.
    bool begin(uint64_t recordingSizeBytes, uint64_t recordingHash);
    // Appends the original bytes of a range and makes them durable.
    bool keep(uint64_t offset, std::span<const uint8_t> original);
    // The new bytes are durable: the journal is idle again.
    bool finish();
    // The session ends: the journal goes.
    bool release();
    // The session ends with originals that could not go back: the journal
    // stays, for the next open to put them back.
    void leaveForRecovery();

private:
    bool writeHeader(JournalState state, DiskStep step, uint64_t recordingSizeBytes = 0, uint64_t recordingHash = 0);

    std::FILE* file_ = nullptr;
    std::string path_;
    uint64_t updateId_ = 0;
    uint64_t endOffset_ = 0;
};

}  // namespace lumen
