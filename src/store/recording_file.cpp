#include "store/recording_file.h"

#include <algorithm>

#include "platform/file/durable_file.h"
#include "platform/file/file_lock.h"
#include "platform/file/regular_file.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/journal_recovery.h"

namespace lumen {
namespace {

// Room in the journal beyond a copy of the whole recording: entry headers.
constexpr uint64_t kJournalSlackBytes = 4096;

struct Span {
    size_t first = 0;
    size_t count = 0;
};

// The part of `bytes` that would change what a reader sees at `offset`;
// past the end of the file a reader sees zeros.
Span differingSpan(const std::vector<uint8_t>& image, uint64_t offset, std::span<const uint8_t> bytes) {
    const auto seen = [&](size_t i) -> uint8_t { return offset + i < image.size() ? image[offset + i] : 0; };
    size_t first = 0;
    while (first < bytes.size() && bytes[first] == seen(first)) ++first;
    if (first == bytes.size()) return {};
    size_t last = bytes.size() - 1;
    while (last > first && bytes[last] == seen(last)) --last;
    return {first, last - first + 1};
}

}  // namespace

RecordingFile::~RecordingFile() { close(); }

OpenResult RecordingFile::open(const std::string& path, RecordingAccess access, uint32_t lockWaitMs) {
    close();
    lockWaitMs_ = lockWaitMs;
    notes_.clear();
    failure_ = WriteFailure::None;
    OpenResult result = openFile(path, access);
    if (result == OpenResult::Opened) result = readImage() ? settleJournal() : OpenResult::TooLarge;
    if (result != OpenResult::Opened) {
        close();
        return result;
    }
    if (session_ && !journal_.reserve(path_, image_.size() + kJournalSlackBytes)) {
        notes_.push_back("No room for a rollback journal beside " + path_ +
                         ": corrections will be written in place, without protection against a crash.");
    }
    identity_ = identityOf(file_);
    // A tool has its copy now; a viewer writing later need not wait for it.
    if (!session_) FileLock::unlock(file_, kContentLockByte);
    return OpenResult::Opened;
}

OpenResult RecordingFile::openFile(const std::string& path, RecordingAccess access) {
    session_ = access == RecordingAccess::Session;
    file_ = openRegularFile(path, "r+b");
    if (file_ == nullptr && !session_) file_ = openRegularFile(path, "rb");
    if (file_ == nullptr) return OpenResult::NotFound;
    path_ = path;
    if (session_) {
        return FileLock::lock(file_, kSessionLockByte, LockMode::Exclusive, lockWaitMs_) ? OpenResult::Opened
                                                                                          : OpenResult::InUse;
    }
    return FileLock::lock(file_, kContentLockByte, LockMode::Shared, lockWaitMs_) ? OpenResult::Opened
                                                                                 : OpenResult::Busy;
}

bool RecordingFile::readImage() {
    const int64_t size = fileSizeBytes(file_);
    if (size < 0 || static_cast<uint64_t>(size) > kMaxRecordingBytes) return false;
    image_.resize(static_cast<size_t>(size));
    if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
    image_.resize(std::fread(image_.data(), 1, image_.size(), file_));
    return true;
}

OpenResult RecordingFile::settleJournal() {
    const JournalKind kind = JournalRecovery::inspect(path_);
    if (kind == JournalKind::None) return OpenResult::Opened;
    if (kind == JournalKind::Unreadable) return OpenResult::NotFound;
    // Only who has the recording to itself may act on a journal: while a
    // session runs, its journal is its own business.
    const uint32_t waitMs = kind == JournalKind::Active ? lockWaitMs_ : 0;
    if (!session_ && !FileLock::lock(file_, kSessionLockByte, LockMode::Exclusive, waitMs)) {
        return kind == JournalKind::Active ? OpenResult::Busy : OpenResult::Opened;
    }
    if (!session_ && !FileLock::lock(file_, kContentLockByte, LockMode::Exclusive, lockWaitMs_)) {
        FileLock::unlock(file_, kSessionLockByte);
        return OpenResult::Busy;
    }
    const OpenResult result = actOnJournal(kind);
    if (!session_) {
        FileLock::unlock(file_, kSessionLockByte);
        FileLock::lock(file_, kContentLockByte, LockMode::Shared, 0);
    }
    return result;
}

OpenResult RecordingFile::actOnJournal(JournalKind kind) {
    const std::string journalPath = RecordingJournal::pathFor(path_);
    switch (kind) {
    case JournalKind::Active: {
        const RecoveryResult recovery = JournalRecovery::restore(path_, file_, image_);
        if (recovery == RecoveryResult::Failed) return OpenResult::NotFound;
        if (recovery == RecoveryResult::Restored) {
            notes_.push_back("A save into " + path_ + " was cut short; the recording is back as it was before it.");
            if (!session_) removeDurably(journalPath);
            return OpenResult::Opened;
        }
        [[fallthrough]];
    }
    case JournalKind::Foreign: {
        const std::string aside = JournalRecovery::setAside(path_);
        if (aside.empty()) return OpenResult::NotFound;
        notes_.push_back(journalPath + " was not written for this recording and was not applied; it was moved to " +
                         aside + ".");
        return OpenResult::Opened;
    }
    case JournalKind::Idle:
        // Left by a session that ended without removing it; nothing to undo.
        if (!session_) removeDurably(journalPath);
        return OpenResult::Opened;
    case JournalKind::None:
    case JournalKind::Unreadable: break;
    }
    return OpenResult::Opened;
}

void RecordingFile::close() {
    if (updateOpen_) commitUpdate();
    if (rollBackFailed_) {
        journal_.leaveForRecovery();
    } else {
        journal_.release();
    }
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    session_ = false;
    rollBackFailed_ = false;
}

size_t RecordingFile::readAt(uint64_t offset, std::span<uint8_t> out) const {
    std::fill(out.begin(), out.end(), uint8_t{0});
    if (offset >= image_.size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(out.size(), image_.size() - offset));
    std::copy_n(image_.begin() + static_cast<ptrdiff_t>(offset), count, out.begin());
    return count;
}

bool RecordingFile::holds(uint64_t offset, std::span<const uint8_t> bytes) const {
    return differingSpan(image_, offset, bytes).count == 0;
}

void RecordingFile::beginUpdate() {
    if (updateOpen_) return;
    updateOpen_ = true;
    failure_ = rollBackFailed_ ? WriteFailure::Disk : WriteFailure::None;
    sizeBeforeUpdate_ = image_.size();
    savedRanges_.clear();
}

bool RecordingFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (updateOpen_) return writeInUpdate(offset, bytes);
    beginUpdate();
    const bool written = writeInUpdate(offset, bytes);
    return commitUpdate() && written;
}

void RecordingFile::fail(WriteFailure failure) {
    if (failure_ == WriteFailure::None) failure_ = failure;
}

bool RecordingFile::writeInUpdate(uint64_t offset, std::span<const uint8_t> bytes) {
    if (failure_ != WriteFailure::None) return false;
    // Bytes that are already there need no write, and no journal.
    const Span changed = differingSpan(image_, offset, bytes);
    if (changed.count == 0) return true;
    if (file_ == nullptr || !session_) {
        fail(WriteFailure::ReadOnly);
        return false;
    }
    if (!updateOnDisk_ && !startOnDisk()) return false;
    const uint64_t at = offset + changed.first;
    const auto part = bytes.subspan(changed.first, changed.count);
    SavedRange saved{at, {}};
    if (at < image_.size()) {
        const auto from = image_.begin() + static_cast<ptrdiff_t>(at);
        saved.original.assign(from, from + static_cast<ptrdiff_t>(std::min<uint64_t>(part.size(), image_.size() - at)));
    }
    if (journal_.isReserved() && !journal_.keep(saved.offset, saved.original)) {
        fail(WriteFailure::Disk);
        return false;
    }
    savedRanges_.push_back(std::move(saved));
    const bool written = writeFileAt(file_, at, part.data(), part.size());
    const uint64_t end = at + part.size();
    if (end > image_.size()) image_.resize(end, 0);
    std::copy(part.begin(), part.end(), image_.begin() + static_cast<ptrdiff_t>(at));
    if (!written) fail(WriteFailure::Disk);
    return written;
}

bool RecordingFile::startOnDisk() {
    // A recording copied or renamed over ours since we read it is another
    // patient's: nothing of ours may go into it.
    const auto now = identityOf(path_);
    if (!now || !identity_ || *now != *identity_) {
        fail(WriteFailure::Replaced);
        return false;
    }
    if (!FileLock::lock(file_, kContentLockByte, LockMode::Exclusive, lockWaitMs_)) {
        fail(WriteFailure::Busy);
        return false;
    }
    updateOnDisk_ = true;
    if (journal_.isReserved() && !journal_.begin(image_.size(), recordingHash(image_))) {
        fail(WriteFailure::Disk);
        return false;
    }
    return true;
}

bool RecordingFile::commitUpdate() {
    if (!updateOpen_) return failure_ == WriteFailure::None;
    updateOpen_ = false;
    if (!updateOnDisk_) return failure_ == WriteFailure::None;
    const bool committed = failure_ == WriteFailure::None && flushToDevice(file_) && journal_.finish();
    if (committed) {
        savedRanges_.clear();
    } else {
        fail(WriteFailure::Disk);
        rollBackFailed_ = !rollBack();
    }
    endOnDisk();
    return committed;
}

void RecordingFile::endOnDisk() {
    FileLock::unlock(file_, kContentLockByte);
    updateOnDisk_ = false;
    // Our own writes change the size and time; the name must still be ours.
    identity_ = identityOf(file_);
}

bool RecordingFile::rollBack() {
    bool restored = true;
    for (auto range = savedRanges_.rbegin(); range != savedRanges_.rend(); ++range) {
        restored = writeFileAt(file_, range->offset, range->original.data(), range->original.size()) && restored;
        std::copy(range->original.begin(), range->original.end(), image_.begin() + static_cast<ptrdiff_t>(range->offset));
    }
    savedRanges_.clear();
    if (image_.size() > sizeBeforeUpdate_) {
        image_.resize(sizeBeforeUpdate_);
        restored = resizeFile(file_, sizeBeforeUpdate_) && restored;
    }
    restored = restored && flushToDevice(file_);
    // Where the originals could not all go back, the journal stays active
    // for the next open to finish the job.
    return restored && journal_.finish();
}

uint8_t RecordingFile::readU8(uint64_t offset) const {
    return offset < image_.size() ? image_[offset] : 0;
}

uint32_t RecordingFile::readU24(uint64_t offset) const {
    uint8_t bytes[3];
    readAt(offset, bytes);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16);
}

uint32_t RecordingFile::readU32(uint64_t offset) const {
    uint8_t bytes[4];
    readAt(offset, bytes);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
}

}  // namespace lumen
