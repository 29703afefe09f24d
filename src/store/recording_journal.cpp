#include "store/recording_journal.h"

#include <random>
#include <vector>

#include "platform/file/durable_file.h"
#include "platform/file/regular_file.h"
#include "platform/file/utf8_path.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"

namespace lumen {

RecordingJournal::~RecordingJournal() {
    if (file_ != nullptr) std::fclose(file_);
}

std::string RecordingJournal::pathFor(std::string_view recordingPath) {
    return std::string(recordingPath) + "-journal";
}

bool RecordingJournal::reserve(const std::string& recordingPath, uint64_t capacityBytes) {
    path_ = pathFor(recordingPath);
    file_ = openRegularFile(path_, "wb");
    if (file_ == nullptr) return false;
    // A fresh id per session: entries of any earlier journal never match it.
    std::random_device entropy;
    updateId_ = (uint64_t{entropy()} << 32) ^ entropy();
    const bool reserved = writeHeader(JournalState::Idle, DiskStep::Write) &&
                          reserveFileSpace(file_, kJournalHeaderBytes + capacityBytes) && flushToDevice(file_) &&
                          flushFolderOf(path_);
    if (!reserved) {
        std::fclose(file_);
        file_ = nullptr;
        removeFile(path_);
    }
    return reserved;
}

bool RecordingJournal::writeHeader(JournalState state, DiskStep step, uint64_t recordingSizeBytes, uint64_t hash) {
    const auto bytes = encodeJournalHeader(JournalHeader{state, updateId_, recordingSizeBytes, hash});
    return writeFileAt(file_, 0, bytes.data(), bytes.size(), step);
}

bool RecordingJournal::begin(uint64_t recordingSizeBytes, uint64_t hash) {
    if (file_ == nullptr) return false;
    ++updateId_;
    endOffset_ = kJournalHeaderBytes;
    return writeHeader(JournalState::Active, DiskStep::Write, recordingSizeBytes, hash) && flushToDevice(file_);
}

bool RecordingJournal::keep(uint64_t offset, std::span<const uint8_t> original) {
    if (file_ == nullptr) return false;
    std::vector<uint8_t> entry(kJournalEntryHeaderBytes + original.size());
    const auto header = encodeEntryHeader(updateId_, offset, original);
    std::copy(header.begin(), header.end(), entry.begin());
    std::copy(original.begin(), original.end(), entry.begin() + kJournalEntryHeaderBytes);
    const bool kept = writeFileAt(file_, endOffset_, entry.data(), entry.size()) && flushToDevice(file_);
    endOffset_ += entry.size();
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

bool RecordingJournal::release() {
    if (file_ == nullptr) return true;
    std::fclose(file_);
    file_ = nullptr;
    return removeDurably(path_);
}

}  // namespace lumen
