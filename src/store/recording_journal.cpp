// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording_journal.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "platform/file/durable_file.h"
#include "platform/file/file_lock.h"
#include "platform/file/regular_file.h"
#include "platform/file/utf8_path.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/plain_file.h"

namespace lumen {
namespace {

uint64_t randomId() {
    std::random_device entropy;
    return (uint64_t{entropy()} << 32) ^ entropy();
}

std::string hexOf(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The names under which a journal lives for a moment, or waits for its
// session, besides the journal's own.
constexpr std::array<std::string_view, 3> kPassingNameMarks{".new-", ".leaving-", ".session-"};

bool isPassingNameOf(const std::string& name, const std::string& journalName) {
    if (name.rfind(journalName, 0) != 0) return false;
    const std::string_view rest = std::string_view(name).substr(journalName.size());
    for (const std::string_view mark : kPassingNameMarks) {
        if (rest.rfind(mark, 0) == 0) return true;
    }
    return false;
}

// Idle, with no session holding it: nothing in it is needed any more.
bool isLeftover(const std::string& path) {
    const PlainFile file(openRegularFile(path, "r+b"));
    if (!file || !FileLock::lock(file.get(), RecordingJournal::kOwnerLockByte, LockMode::Exclusive, 0)) return false;
    const std::optional<JournalHeader> header = RecordingJournal::headerAt(path);
    return header && header->state == JournalState::Idle;
}

}  // namespace

RecordingJournal::~RecordingJournal() {
    if (file_ != nullptr) std::fclose(file_);
}

std::string RecordingJournal::pathFor(std::string_view recordingPath) {
    return std::string(recordingPath) + "-journal";
}

std::string RecordingJournal::asidePathFor(std::string_view journalPath, uint64_t sessionId) {
    return std::string(journalPath) + ".session-" + hexOf(sessionId);
}

std::optional<JournalHeader> RecordingJournal::headerAt(const std::string& path) {
    const PlainFile file(openRegularFile(path, "rb"));
    if (!file) return std::nullopt;
    std::array<uint8_t, kJournalHeaderBytes> bytes{};
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    JournalHeader header;
    if (decodeJournalHeader(std::span(bytes).first(got), header) != HeaderCheck::Valid) return std::nullopt;
    return header;
}

size_t RecordingJournal::removeLeftovers(const std::string& journalPath) {
    namespace fs = std::filesystem;
    const fs::path journal = pathFromUtf8(journalPath);
    const std::string journalName = utf8FromPath(journal.filename());
    std::error_code error;
    size_t removed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(journal.parent_path(), error)) {
        const std::string name = utf8FromPath(entry.path().filename());
        if (!isPassingNameOf(name, journalName)) continue;
        const std::string path = utf8FromPath(entry.path());
        if (isLeftover(path) && removeDurably(path)) ++removed;
    }
    return removed;
}

bool RecordingJournal::reserve(const std::string& recordingPath, uint64_t capacityBytes,
                               const FileIdentity& recording) {
    path_ = pathFor(recordingPath);
    recording_ = recording;
    // Fresh ids per session: entries of any earlier journal never match.
    sessionId_ = randomId();
    updateId_ = randomId();
    // Built under a name of its own, so that the journal's name never holds
    // a half-made journal and never shares a file with another session's.
    const std::string fresh = path_ + ".new-" + hexOf(sessionId_);
    file_ = createNewFile(fresh);
    if (file_ == nullptr) {
        cause_ = lastFileFailureCause();
        return false;
    }
    const bool reserved = FileLock::lock(file_, kOwnerLockByte, LockMode::Exclusive, 0) &&
                          writeHeader(JournalState::Idle, DiskStep::Write) && reserveFileSpace(file_, capacityBytes) &&
                          flushToDevice(file_) && renameDurably(fresh, path_);
    // Taken by name, as every later look is: Windows file systems need not
    // tell an open file's volume the way they tell a name's.
    if (reserved) named_ = identityOf(path_);
    if (!reserved) {
        cause_ = lastFileFailureCause();
        std::fclose(file_);
        file_ = nullptr;
        removeFile(fresh);
    }
    return reserved;
}

bool RecordingJournal::writeHeader(JournalState state, DiskStep step, uint64_t recordingSizeBytes, uint64_t hash) {
    const JournalHeader header{state,      updateId_,         recordingSizeBytes,   hash,
                               sessionId_, recording_.device, recording_.fileNumber};
    const auto bytes = encodeJournalHeader(header);
    return writeFileAt(file_, 0, bytes.data(), bytes.size(), step);
}

bool RecordingJournal::begin(uint64_t recordingSizeBytes, uint64_t hash) {
    if (file_ == nullptr) return false;
    ++updateId_;
    endOffset_ = kDiskSectorBytes;
    return writeHeader(JournalState::Active, DiskStep::Write, recordingSizeBytes, hash) && flushToDevice(file_);
}

bool RecordingJournal::keep(uint64_t offset, std::span<const uint8_t> original) {
    if (file_ == nullptr) return false;
    std::vector<uint8_t> entry(kJournalEntryHeaderBytes + original.size());
    const auto header = encodeEntryHeader(updateId_, offset, original);
    std::copy(header.begin(), header.end(), entry.begin());
    std::copy(original.begin(), original.end(), entry.begin() + kJournalEntryHeaderBytes);
    const bool kept = writeFileAt(file_, endOffset_, entry.data(), entry.size()) && flushToDevice(file_);
    endOffset_ = sectorAlignedBytes(endOffset_ + entry.size());
    return kept;
}

bool RecordingJournal::finish() {
    if (file_ == nullptr) return true;
    return writeHeader(JournalState::Idle, DiskStep::Settle) && flushToDevice(file_);
}

void RecordingJournal::leaveForRecovery() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

JournalRelease RecordingJournal::release() {
    if (file_ == nullptr) return JournalRelease::Removed;
    JournalRelease released = removeIfOurs(path_);
    if (released == JournalRelease::NotOurs) {
        const JournalRelease aside = removeIfOurs(asidePathFor(path_, sessionId_));
        if (aside != JournalRelease::NotOurs) released = aside;
    }
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    return released;
}

// The name is first taken away to one only this session uses, and what it
// held is checked there: a journal another session put under the name in
// the meantime goes back, and is never removed.
JournalRelease RecordingJournal::removeIfOurs(const std::string& name) {
    if (!isSameFile(identityOf(name), named_)) return JournalRelease::NotOurs;
    std::fclose(file_);  // Windows renames no open file
    file_ = nullptr;
    const std::string leaving = path_ + ".leaving-" + hexOf(sessionId_);
    const bool taken = replaceFile(name, leaving);
    noteDiskStep(DiskStep::Remove);
    if (!taken) {
        cause_ = lastFileFailureCause();
        return JournalRelease::Failed;
    }
    const std::optional<JournalHeader> header = headerAt(leaving);
    if (!header || header->sessionId != sessionId_) {
        renameWithoutReplacing(leaving, name);
        return JournalRelease::NotOurs;
    }
    if (removeDurably(leaving)) return JournalRelease::Removed;
    cause_ = lastFileFailureCause();
    return JournalRelease::Failed;
}

}  // namespace lumen
