// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording_file.h"

#include <algorithm>

#include "platform/file/durable_file.h"
#include "platform/file/file_lock.h"
#include "platform/file/file_names.h"
#include "platform/file/regular_file.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/journal_recovery.h"

namespace lumen {
namespace {

// How often a recording written to while it is read is read again.
constexpr int kReadAttempts = 3;

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
    journalInTheWay_ = false;
    OpenResult result = openFile(path, access);
    if (result == OpenResult::Opened) result = readImage();
    if (result == OpenResult::Opened) result = settleJournal();
    if (result != OpenResult::Opened) {
        close();
        return result;
    }
    if (session_) reserveJournal();
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
    // Every name of the recording (a link to it, a link to its folder) must
    // find the same journal: it lies beside the path they all lead to.
    canonicalPath_ = canonicalPathOf(path);
    if (!isSameFile(identityOf(canonicalPath_), identityOf(file_))) {
        return OpenResult::Busy;  // renamed while it was being opened
    }
    if (session_) {
        return FileLock::lock(file_, kSessionLockByte, LockMode::Exclusive, lockWaitMs_) ? OpenResult::Opened
                                                                                         : OpenResult::InUse;
    }
    return FileLock::lock(file_, kContentLockByte, LockMode::Shared, lockWaitMs_) ? OpenResult::Opened
                                                                                  : OpenResult::Busy;
}

// The file's identity is taken from the open file itself, before and after
// the bytes are read: a file written while it was read is read again.
OpenResult RecordingFile::readImage() {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        const auto before = identityOf(file_);
        const int64_t size = fileSizeBytes(file_);
        if (!before || size < 0 || static_cast<uint64_t>(size) > kMaxRecordingBytes) return OpenResult::TooLarge;
        image_.resize(static_cast<size_t>(size));
        if (std::fseek(file_, 0, SEEK_SET) != 0) return OpenResult::TooLarge;
        image_.resize(std::fread(image_.data(), 1, image_.size(), file_));
        identity_ = identityOf(file_);
        if (identity_ == before) return OpenResult::Opened;
    }
    return OpenResult::Busy;
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
    journaledSectors_.clear();
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

void RecordingFile::failForLastError() {
    switch (lastFileFailureCause()) {
    case FileFailureCause::Permission: fail(WriteFailure::Permission); break;
    case FileFailureCause::NoRoom: fail(WriteFailure::NoRoom); break;
    case FileFailureCause::Missing:
    case FileFailureCause::Other: fail(WriteFailure::Disk); break;
    }
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
    if (!journalSectorsOf(at, part.size())) {
        failForLastError();
        return false;
    }
    savedRanges_.push_back(std::move(saved));
    const bool written = writeFileAt(file_, at, part.data(), part.size());
    const uint64_t end = at + part.size();
    if (end > image_.size()) image_.resize(end, 0);
    std::copy(part.begin(), part.end(), image_.begin() + static_cast<ptrdiff_t>(at));
    if (!written) failForLastError();
    return written;
}

// A power cut may garble the whole sector a write lands in, the bytes
// beside the write included, on a disk that does not overwrite safely: the
// journal keeps every sector a write touches whole, once an update, as it
// was before the update (what lay past the file's end then is cut off again).
bool RecordingFile::journalSectorsOf(uint64_t offset, uint64_t count) {
    if (!journal_.isReserved()) return true;
    const uint64_t last = (offset + count - 1) / kDiskSectorBytes;
    for (uint64_t sector = offset / kDiskSectorBytes; sector <= last; ++sector) {
        if (journaledSectors_.contains(sector)) continue;
        uint64_t runEnd = sector;
        while (runEnd < last && !journaledSectors_.contains(runEnd + 1)) ++runEnd;
        const uint64_t from = std::min(sector * kDiskSectorBytes, sizeBeforeUpdate_);
        const uint64_t to = std::min((runEnd + 1) * kDiskSectorBytes, sizeBeforeUpdate_);
        const std::span<const uint8_t> original(image_.data() + from, static_cast<size_t>(to - from));
        if (!journal_.keep(sector * kDiskSectorBytes, original)) return false;
        for (uint64_t kept = sector; kept <= runEnd; ++kept) journaledSectors_.insert(kept);
        sector = runEnd;
    }
    return true;
}

bool RecordingFile::startOnDisk() {
    if (journalInTheWay_) {
        fail(WriteFailure::Permission);
        return false;
    }
    // Another name could not find this recording's journal after a crash.
    if (nameCountOf(file_) > 1) {
        fail(WriteFailure::Linked);
        return false;
    }
    if (!FileLock::lock(file_, kContentLockByte, LockMode::Exclusive, lockWaitMs_)) {
        fail(WriteFailure::Busy);
        return false;
    }
    // A recording copied or renamed over ours since we read it is another
    // patient's: nothing of ours may go into it.
    if (!stillOurs()) {
        FileLock::unlock(file_, kContentLockByte);
        fail(WriteFailure::Replaced);
        return false;
    }
    updateOnDisk_ = true;
    if (journal_.isReserved() && !journal_.begin(image_.size(), recordingHash(image_))) {
        failForLastError();
        return false;
    }
    return true;
}

// Under the exclusive content lock: the name still leads to the file read,
// and the file holds exactly the bytes read (and written) since. Times are
// not trusted: on many file systems they count whole seconds.
bool RecordingFile::stillOurs() {
    const auto opened = identityOf(file_);
    if (!isSameFile(identityOf(path_), opened)) return false;
    if (opened->sizeBytes != image_.size() || std::fseek(file_, 0, SEEK_SET) != 0) return false;
    std::vector<uint8_t> now(image_.size());
    return std::fread(now.data(), 1, now.size(), file_) == now.size() && now == image_;
}

bool RecordingFile::commitUpdate() {
    if (!updateOpen_) return failure_ == WriteFailure::None;
    updateOpen_ = false;
    if (!updateOnDisk_) return failure_ == WriteFailure::None;
    const bool committed = failure_ == WriteFailure::None && flushToDevice(file_) && journal_.finish();
    if (committed) {
        savedRanges_.clear();
    } else {
        failForLastError();
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
        std::copy(range->original.begin(), range->original.end(),
                  image_.begin() + static_cast<ptrdiff_t>(range->offset));
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

uint8_t RecordingFile::readU8(uint64_t offset) const { return offset < image_.size() ? image_[offset] : 0; }

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
