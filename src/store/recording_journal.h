// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file/file_identity.h"
#include "platform/file/file_names.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"

namespace lumen {

// How the end of a session left its journal.
enum class JournalRelease {
    Removed,  // ours, and gone
    NotOurs,  // the name holds another session's journal (the recording was replaced): left alone
    Failed,   // ours, but it could not be removed
};

// The rollback journal kept beside holter.mem while a viewer has it open
// (layout in journal_format.h). It is created, with room for the originals
// of a whole update, when the recording is opened for corrections, so that
// saving them later needs no new disk space. Before a range of the
// recording is overwritten, its original bytes are appended and flushed to
// the device; once the new bytes are on the device the journal turns idle
// again. At the end of the session it is removed.
//
// A journal is known by its content, not by its name: its header carries a
// random session id and the recording's device and file number, and the
// session holds a lock on it, so that anyone can tell a live session's
// journal from one left behind. A session removes only the journal that
// carries its own id, wherever another session moved it.
class RecordingJournal {
public:
    // Held exclusively by the session that writes the journal.
    static constexpr uint64_t kOwnerLockByte = 0x7FFF0000;

    RecordingJournal() = default;
    RecordingJournal(const RecordingJournal&) = delete;
    RecordingJournal& operator=(const RecordingJournal&) = delete;
    ~RecordingJournal();

    // The journal's name beside the recording's canonical path.
    static std::string pathFor(std::string_view recordingPath);
    // Where a live session's journal goes when a recording that took its
    // recording's name needs the journal's name.
    static std::string asidePathFor(std::string_view journalPath, uint64_t sessionId);

    // The header of the journal file at `path`, when it has a whole one.
    static std::optional<JournalHeader> headerAt(const std::string& path);
    // Removes the idle journals that sessions which ended without their
    // normal exit left under names of their own beside `journalPath` (one
    // being built at open, one being removed at the end, one moved aside);
    // how many went. A live session's journal, and anything active, stays.
    static size_t removeLeftovers(const std::string& journalPath);

    // Creates the journal, idle, with room for `capacityBytes` of originals,
    // and gives it its name only once it is whole.
    bool reserve(const std::string& recordingPath, uint64_t capacityBytes, const FileIdentity& recording = {});
    bool isReserved() const { return file_ != nullptr; }
    // Why reserve or release failed.
    FileFailureCause failureCause() const { return cause_; }
    const std::string& path() const { return path_; }

    // Makes durable that an update of the recording, as it is now, begins.
    bool begin(uint64_t recordingSizeBytes, uint64_t recordingHash);
    // Appends the original bytes of a range and makes them durable.
    bool keep(uint64_t offset, std::span<const uint8_t> original);
    // The new bytes are durable: the journal is idle again.
    bool finish();
    // The session ends: its journal goes, and only its own.
    JournalRelease release();
    // The session ends with originals that could not go back: the journal
    // stays, for the next open to put them back.
    void leaveForRecovery();

private:
    bool writeHeader(JournalState state, DiskStep step, uint64_t recordingSizeBytes = 0, uint64_t recordingHash = 0);
    JournalRelease removeIfOurs(const std::string& name);

    std::FILE* file_ = nullptr;
    std::string path_;
    uint64_t sessionId_ = 0;
    uint64_t updateId_ = 0;
    uint64_t endOffset_ = 0;
    FileIdentity recording_;
    // The journal file as its name led to it when it was made.
    std::optional<FileIdentity> named_;
    FileFailureCause cause_ = FileFailureCause::Other;
};

}  // namespace lumen
