// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/file/file_identity.h"
#include "store/journal_recovery.h"
#include "store/recording_journal.h"

namespace lumen {

// Every offset and length in holter.mem has 24 bits: nothing of a recording
// lies past 32 MiB, and a larger file is not a recording.
inline constexpr uint64_t kMaxRecordingBytes = uint64_t{2} << 24;

// Two lock bytes far past any content (see FileLock). The session byte is
// held exclusively by the viewer for its whole session; the content byte is
// shared while a tool reads the file and exclusive while anything writes.
inline constexpr uint64_t kSessionLockByte = 0x7FFF0000;
inline constexpr uint64_t kContentLockByte = 0x7FFF0001;

// How long an open or a save waits for another program to finish with the
// recording before it gives up.
inline constexpr uint32_t kRecordingLockWaitMs = 2000;

// Read: a tool that looks at the recording. Session: the viewer, which may
// correct it; one session at a time.
enum class RecordingAccess { Read, Session };

enum class OpenResult {
    Opened,
    NotFound,  // missing, not a plain file, or a journal beside it that cannot be read
    TooLarge,
    InUse,  // another session has the recording open
    Busy,   // a save into it is under way, or was cut short and cannot be finished now
};

// Why the last update reached nothing of the recording.
enum class WriteFailure {
    None,
    ReadOnly,    // opened for reading only
    Replaced,    // the file under the name, or its bytes, are no longer those read
    Busy,        // another program is writing it
    Disk,        // a write failed
    NoRoom,      // a write failed: the disk or the quota is full
    Permission,  // the user may not write the recording, or a journal in the way
    Linked,      // the recording has more than one name (hard links)
};

// holter.mem opened in place. The whole file is read once at open, so reads
// are memory copies; writes go to the file and to the copy alike.
//
// Writes are grouped into updates that reach the file whole or not at all:
// every range is saved in a rollback journal before it is overwritten (see
// RecordingJournal), and a group that fails part-way is rolled back at once.
// A write outside beginUpdate/commitUpdate is a group of its own.
class RecordingFile {
public:
    RecordingFile() = default;
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;
    ~RecordingFile();

    // Finishes or sets aside a journal left beside the recording first.
    OpenResult open(const std::string& path, RecordingAccess access = RecordingAccess::Read,
                    uint32_t lockWaitMs = kRecordingLockWaitMs);
    // Commits an update still open; the journal goes.
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // False when corrections will be written in place without a journal
    // (the folder could not hold one): a crash may then leave them half-done.
    bool journaled() const { return journal_.isReserved(); }
    // What opening it had to say: a journal set aside, for instance.
    const std::vector<std::string>& notes() const { return notes_; }
    // lastFailure() as a sentence that names the file and says what to do;
    // empty when the last update failed for no reason.
    std::string failureNote() const;

    // Copies up to out.size() bytes from `offset`; what lies past the end of
    // the file reads as zero, as a short read into a cleared buffer would.
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const;
    // Whether a reader at `offset` sees exactly `bytes` already.
    bool holds(uint64_t offset, std::span<const uint8_t> bytes) const;
    // Returns false when the bytes could not all be written; inside an update
    // every later write is then refused and the commit rolls back.
    bool writeAt(uint64_t offset, std::span<const uint8_t> bytes);

    void beginUpdate();
    // True when every write of the update is on the device. False means the
    // recording holds none of them (or, where even the roll-back failed, a
    // journal that the next open uses to put the original bytes back).
    bool commitUpdate();
    WriteFailure lastFailure() const { return failure_; }

    uint64_t size() const { return image_.size(); }
    std::span<const uint8_t> image() const { return image_; }

    uint8_t readU8(uint64_t offset) const;
    uint32_t readU24(uint64_t offset) const;
    uint32_t readU32(uint64_t offset) const;

private:
    struct SavedRange {
        uint64_t offset = 0;
        std::vector<uint8_t> original;
    };
    OpenResult openFile(const std::string& path, RecordingAccess access);
    OpenResult settleJournal();
    OpenResult actOnJournal(JournalKind kind);
    OpenResult restoreFromJournal();
    OpenResult setJournalAside(JournalKind kind);
    void retireRestoredJournal();
    void reserveJournal();
    OpenResult readImage();
    bool stillOurs();
    bool writeInUpdate(uint64_t offset, std::span<const uint8_t> bytes);
    bool journalSectorsOf(uint64_t offset, uint64_t count);
    bool startOnDisk();
    void fail(WriteFailure failure);
    void failForLastError();
    bool rollBack();
    void endOnDisk();

    std::FILE* file_ = nullptr;
    std::string path_;
    // Where every name of the recording leads; its journal lies beside it.
    std::string canonicalPath_;
    std::vector<uint8_t> image_;
    RecordingJournal journal_;
    std::optional<FileIdentity> identity_;
    std::vector<std::string> notes_;
    bool session_ = false;
    // A journal this session may not write over stays active beside the
    // recording: writing in place could make it match, so nothing is written.
    bool journalInTheWay_ = false;
    uint32_t lockWaitMs_ = kRecordingLockWaitMs;
    bool rollBackFailed_ = false;
    bool updateOpen_ = false;
    bool updateOnDisk_ = false;
    WriteFailure failure_ = WriteFailure::None;
    uint64_t sizeBeforeUpdate_ = 0;
    std::vector<SavedRange> savedRanges_;
    // Sectors whose originals the journal holds for the update under way.
    std::set<uint64_t> journaledSectors_;
};

}  // namespace lumen
