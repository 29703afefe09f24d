// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/journal_recovery.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/file/durable_file.h"
#include "platform/file/file_lock.h"
#include "platform/file/file_names.h"
#include "platform/file/regular_file.h"
#include "platform/file/utf8_path.h"
#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/plain_file.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"

namespace lumen {
namespace {

struct EntryPlace {
    uint64_t offset = 0;
    uint64_t length = 0;
    long journalAt = 0;  // where the original bytes lie in the journal
};

bool readHeader(std::FILE* journal, JournalHeader& header, HeaderCheck& check) {
    std::array<uint8_t, kJournalHeaderBytes> bytes{};
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), journal);
    check = decodeJournalHeader(std::span(bytes).first(got), header);
    return !std::ferror(journal);
}

// The entries of the update, up to the first that fails its check: that
// one was torn, and its range had not been touched yet.
std::vector<EntryPlace> readEntryPlaces(std::FILE* journal, const JournalHeader& header) {
    std::vector<EntryPlace> places;
    std::array<uint8_t, 8> id{};
    putLittleEndian(id.data(), header.updateId, 8);
    std::vector<uint8_t> chunk(1 << 16);
    long at = static_cast<long>(journalEntriesOffset(header));
    for (;;) {
        std::array<uint8_t, kJournalEntryHeaderBytes> head{};
        if (std::fseek(journal, at, SEEK_SET) != 0 || std::fread(head.data(), 1, head.size(), journal) != head.size()) {
            break;
        }
        const EntryPlace place{littleEndian(&head[0], 8), littleEndian(&head[8], 4),
                               at + static_cast<long>(kJournalEntryHeaderBytes)};
        if (place.offset + place.length > kMaxRecordingBytes) break;
        uint32_t crc = crc32(std::span(head).first(12), crc32(id));
        uint64_t left = place.length;
        while (left > 0) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(left, chunk.size()));
            if (std::fread(chunk.data(), 1, want, journal) != want) return places;
            crc = crc32(std::span(chunk).first(want), crc);
            left -= want;
        }
        if (crc != littleEndian(&head[12], 4)) break;
        places.push_back(place);
        at = static_cast<long>(nextJournalEntryOffset(header, place.journalAt + place.length));
    }
    return places;
}

// Newest first, so that where ranges overlap the oldest original wins.
bool applyToImage(std::FILE* journal, const std::vector<EntryPlace>& places, std::vector<uint8_t>& image) {
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
        const uint64_t end = place->offset + place->length;
        if (end > image.size()) image.resize(end, 0);
        if (std::fseek(journal, place->journalAt, SEEK_SET) != 0) return false;
        const size_t length = static_cast<size_t>(place->length);
        if (std::fread(image.data() + place->offset, 1, length, journal) != length) return false;
    }
    return true;
}

bool writeBack(std::FILE* recording, const std::vector<EntryPlace>& places, const std::vector<uint8_t>& image) {
    for (const EntryPlace& place : places) {
        // Only what lay inside the recording before the update was kept.
        if (place.offset >= image.size()) continue;
        const size_t length = static_cast<size_t>(std::min<uint64_t>(place.length, image.size() - place.offset));
        if (!writeFileAt(recording, place.offset, image.data() + place.offset, length)) return false;
    }
    return resizeFile(recording, image.size()) && flushToDevice(recording);
}

bool readWholeFile(std::FILE* recording, std::vector<uint8_t>& image) {
    const int64_t size = fileSizeBytes(recording);
    if (size < 0 || static_cast<uint64_t>(size) > kMaxRecordingBytes) return false;
    image.resize(static_cast<size_t>(size));
    return std::fseek(recording, 0, SEEK_SET) == 0 &&
           std::fread(image.data(), 1, image.size(), recording) == image.size();
}

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm fields{};
#ifdef _WIN32
    gmtime_s(&fields, &now);
#else
    gmtime_r(&now, &fields);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &fields);
    return text;
}

}  // namespace

JournalKind JournalRecovery::inspect(const std::string& recordingPath) {
    const std::string path = RecordingJournal::pathFor(recordingPath);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(pathFromUtf8(path), error))) {
        return error && error != std::errc::no_such_file_or_directory ? JournalKind::Unreadable : JournalKind::None;
    }
    const PlainFile journal(openRegularFile(path, "rb"));
    if (!journal) return JournalKind::Unreadable;
    JournalHeader header;
    HeaderCheck check = HeaderCheck::Foreign;
    if (!readHeader(journal.get(), header, check)) return JournalKind::Unreadable;
    switch (check) {
    case HeaderCheck::Foreign: return JournalKind::Foreign;
    case HeaderCheck::Torn: return JournalKind::Idle;
    case HeaderCheck::Valid: break;
    }
    return header.state == JournalState::Active ? JournalKind::Active : JournalKind::Idle;
}

RecoveryResult JournalRecovery::restore(const std::string& recordingPath, std::FILE* recording,
                                        std::vector<uint8_t>& image) {
    const PlainFile journal(openRegularFile(RecordingJournal::pathFor(recordingPath), "rb"));
    JournalHeader header;
    HeaderCheck check = HeaderCheck::Foreign;
    if (!journal || !readHeader(journal.get(), header, check)) return RecoveryResult::Failed;
    if (check != HeaderCheck::Valid || header.recordingSizeBytes > kMaxRecordingBytes) return RecoveryResult::Mismatch;
    const std::vector<EntryPlace> places = readEntryPlaces(journal.get(), header);
    const std::vector<uint8_t> onDisk = image;
    if (!applyToImage(journal.get(), places, image)) return RecoveryResult::Failed;
    image.resize(static_cast<size_t>(header.recordingSizeBytes), 0);
    if (recordingHash(image) != header.recordingHash) {
        return readWholeFile(recording, image) ? RecoveryResult::Mismatch : RecoveryResult::Failed;
    }
    // Put back already (a journal that could not be removed): nothing to
    // write, so a reader without write permission opens it as well.
    if (image == onDisk) return RecoveryResult::Restored;
    return writeBack(recording, places, image) ? RecoveryResult::Restored : RecoveryResult::Failed;
}

bool JournalRecovery::isLive(const std::string& recordingPath) {
    const PlainFile journal(openRegularFile(RecordingJournal::pathFor(recordingPath), "rb"));
    if (!journal) return false;
    return !FileLock::lock(journal.get(), RecordingJournal::kOwnerLockByte, LockMode::Shared, 0);
}

std::string JournalRecovery::moveAsideLive(const std::string& recordingPath) {
    const std::string path = RecordingJournal::pathFor(recordingPath);
    const std::optional<JournalHeader> header = RecordingJournal::headerAt(path);
    if (!header) return {};
    const std::string target = RecordingJournal::asidePathFor(path, header->sessionId);
    if (!renameWithoutReplacing(path, target)) return {};
    noteDiskStep(DiskStep::Remove);
    return flushFolderOf(target) ? target : std::string{};
}

JournalRetirement JournalRecovery::retire(const std::string& recordingPath) {
    const std::string path = RecordingJournal::pathFor(recordingPath);
    if (removeDurably(path)) return JournalRetirement::Removed;
    const std::optional<JournalHeader> header = RecordingJournal::headerAt(path);
    const PlainFile journal(openRegularFile(path, "r+b"));
    if (!header || !journal) return JournalRetirement::Stuck;
    JournalHeader idle = *header;
    idle.state = JournalState::Idle;
    idle.version = kJournalVersion;
    // A version-2 header is rewritten as one of this version, whose longer
    // header may cover the first entry: harmless once it is idle.
    const auto bytes = encodeJournalHeader(idle);
    const bool idled =
        writeFileAt(journal.get(), 0, bytes.data(), bytes.size(), DiskStep::Settle) && flushToDevice(journal.get());
    return idled ? JournalRetirement::Idled : JournalRetirement::Stuck;
}

std::string JournalRecovery::setAside(const std::string& recordingPath) {
    const std::string path = RecordingJournal::pathFor(recordingPath);
    const std::string stem = path + ".orphan-" + timeStamp();
    std::string target = stem;
    std::error_code error;
    for (int n = 2; std::filesystem::exists(pathFromUtf8(target), error); ++n) {
        target = stem + "-" + std::to_string(n);
    }
    return renameDurably(path, target) ? target : std::string{};
}

}  // namespace lumen
