// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingFile's dealings with its rollback journal: the one found at open,
// the one made for the session, and the one removed at its end.
#include <string>

#include "platform/file/file_lock.h"
#include "platform/file/file_names.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/journal_recovery.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"

namespace lumen {
namespace {

std::string becauseOf(FileFailureCause cause) {
    switch (cause) {
    case FileFailureCause::Permission: return "this user may not write its folder";
    case FileFailureCause::NoRoom: return "the disk has no room for it";
    case FileFailureCause::Missing: return "its folder is gone";
    case FileFailureCause::Other: break;
    }
    return "the disk refused it";
}

}  // namespace

OpenResult RecordingFile::settleJournal() {
    const JournalKind kind = JournalRecovery::inspect(canonicalPath_);
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
    // We have this recording to ourselves, so a session still holding the
    // journal works on a file that had this name before (it was replaced):
    // its journal is moved where that session finds it, never removed.
    if (JournalRecovery::isLive(canonicalPath_)) {
        if (!session_) return OpenResult::Opened;
        if (JournalRecovery::moveAsideLive(canonicalPath_).empty()) journalInTheWay_ = true;
        return OpenResult::Opened;
    }
    switch (kind) {
    case JournalKind::Active: return restoreFromJournal();
    case JournalKind::Foreign: return setJournalAside(kind);
    case JournalKind::Idle:
        // Left by a session that ended without removing it; nothing to undo.
        // A session's own journal takes its place.
        if (!session_) removeDurably(RecordingJournal::pathFor(canonicalPath_));
        return OpenResult::Opened;
    case JournalKind::None:
    case JournalKind::Unreadable: break;
    }
    return OpenResult::Opened;
}

OpenResult RecordingFile::restoreFromJournal() {
    const RecoveryResult recovery = JournalRecovery::restore(canonicalPath_, file_, image_);
    if (recovery == RecoveryResult::Failed) return OpenResult::NotFound;
    if (recovery == RecoveryResult::Mismatch) return setJournalAside(JournalKind::Active);
    notes_.push_back("A save into " + path_ + " was cut short; the recording is back as it was before it.");
    retireRestoredJournal();
    return OpenResult::Opened;
}

// The originals are back; the journal must not stay active, or corrections
// written in place later could be undone by it, or make it look foreign.
void RecordingFile::retireRestoredJournal() {
    const std::string journal = RecordingJournal::pathFor(canonicalPath_);
    switch (JournalRecovery::retire(canonicalPath_)) {
    case JournalRetirement::Removed: return;
    case JournalRetirement::Idled:
        notes_.push_back(journal + " could not be removed (" + becauseOf(lastFileFailureCause()) +
                         "); it was made idle and can undo nothing any more. Remove it when its folder can be "
                         "written.");
        return;
    case JournalRetirement::Stuck:
        notes_.push_back(journal + " could be neither removed nor made idle (" + becauseOf(lastFileFailureCause()) +
                         "); " + path_ +
                         " is as it was before the save that was cut short, and no correction will be written "
                         "into it until someone who may write its folder removes that journal.");
        journalInTheWay_ = true;
        return;
    }
}

OpenResult RecordingFile::setJournalAside(JournalKind kind) {
    const std::string journal = RecordingJournal::pathFor(canonicalPath_);
    const std::string aside = JournalRecovery::setAside(canonicalPath_);
    if (!aside.empty()) {
        notes_.push_back(journal + " was not written for this recording and was not applied; it was moved to " + aside +
                         ".");
        return OpenResult::Opened;
    }
    // Left where it is, unapplied: the recording itself is as it was read.
    notes_.push_back(journal +
                     " was not written for this recording and was not applied; it could not be moved aside (" +
                     becauseOf(lastFileFailureCause()) + "). Move it away from " + path_ + " by hand.");
    if (kind == JournalKind::Active) journalInTheWay_ = true;
    return OpenResult::Opened;
}

void RecordingFile::reserveJournal() {
    const uint64_t names = nameCountOf(file_);
    if (names > 1) {
        notes_.push_back(path_ + " has " + std::to_string(names) +
                         " names (hard links), and a rollback journal beside one of them would not be found "
                         "through the others after a crash: no correction will be written into it. Make it a "
                         "file of its own (copy it, then move the copy over it) to correct it.");
        return;
    }
    if (journalInTheWay_) return;
    RecordingJournal::removeLeftovers(RecordingJournal::pathFor(canonicalPath_));
    const FileIdentity recording = identity_.value_or(FileIdentity{});
    if (journal_.reserve(canonicalPath_, journalCapacityBytes(image_.size()), recording)) return;
    notes_.push_back("No rollback journal can be kept beside " + path_ + " (" + becauseOf(journal_.failureCause()) +
                     "): corrections will be written in place, without protection against a crash.");
}

void RecordingFile::close() {
    if (updateOpen_) commitUpdate();
    if (rollBackFailed_) {
        journal_.leaveForRecovery();
    } else if (journal_.release() == JournalRelease::Failed) {
        notes_.push_back(journal_.path() + " could not be removed (" + becauseOf(journal_.failureCause()) +
                         "); it is idle and can undo nothing. Remove it when its folder can be written.");
    }
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    session_ = false;
    rollBackFailed_ = false;
}

std::string RecordingFile::failureNote() const {
    switch (failure_) {
    case WriteFailure::None: return {};
    case WriteFailure::ReadOnly: return path_ + " was opened for reading only; nothing was written into it.";
    case WriteFailure::Replaced:
        return path_ +
               " was replaced or changed by another program since it was read; nothing was written into "
               "it. Open it again to correct it.";
    case WriteFailure::Busy:
        return path_ + " is being written by another program; nothing was written into it. Try again later.";
    case WriteFailure::NoRoom:
        return "The disk of " + path_ +
               " is full; the corrections were not written. Free some space, then "
               "correct the recording again.";
    case WriteFailure::Permission:
        return "This user may not write " + path_ +
               " or its rollback journal; the corrections were not written. "
               "Ask someone who may write its folder to correct it.";
    case WriteFailure::Linked:
        return path_ +
               " has more than one name (hard links); the corrections were not written. Make it a file "
               "of its own (copy it, then move the copy over it) to correct it.";
    case WriteFailure::Disk: break;
    }
    return path_ +
           " could not be written; the corrections were not written. Check the disk, then correct the "
           "recording again.";
}

}  // namespace lumen
