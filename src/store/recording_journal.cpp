#include "store/recording_journal.h"

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "store/disk_steps.h"
#include "store/plain_file.h"

namespace lumen {
namespace {

constexpr std::array<uint8_t, 8> kMagic{'L', 'U', 'M', 'E', 'N', 'J', 'N', 'L'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 24;
constexpr size_t kEntryHeaderBytes = 16;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (const uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putLittleEndian(uint8_t* out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t littleEndian(const uint8_t* in, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

std::array<uint8_t, kHeaderBytes> headerFor(uint64_t recordingSizeBytes) {
    std::array<uint8_t, kHeaderBytes> header{};
    std::copy(kMagic.begin(), kMagic.end(), header.begin());
    putLittleEndian(&header[8], kVersion, 4);
    putLittleEndian(&header[16], recordingSizeBytes, 8);
    std::array<uint8_t, 20> covered{};
    std::copy(header.begin(), header.begin() + 12, covered.begin());
    std::copy(header.begin() + 16, header.end(), covered.begin() + 12);
    putLittleEndian(&header[12], crc32(covered), 4);
    return header;
}

struct Entry {
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

struct JournalContents {
    bool headerValid = false;
    uint64_t recordingSizeBytes = 0;
    std::vector<Entry> entries;
};

JournalContents readJournal(std::FILE* file) {
    JournalContents contents;
    std::array<uint8_t, kHeaderBytes> header{};
    if (std::fread(header.data(), 1, header.size(), file) != header.size()) return contents;
    const uint64_t sizeBytes = littleEndian(&header[16], 8);
    if (header != headerFor(sizeBytes)) return contents;
    contents.headerValid = true;
    contents.recordingSizeBytes = sizeBytes;
    for (;;) {
        std::array<uint8_t, kEntryHeaderBytes> entryHeader{};
        if (std::fread(entryHeader.data(), 1, entryHeader.size(), file) != entryHeader.size()) break;
        Entry entry;
        entry.offset = littleEndian(&entryHeader[0], 8);
        const uint64_t length = littleEndian(&entryHeader[8], 4);
        // A recording never exceeds 16 MiB: a longer range is a torn entry.
        if (length > (uint64_t{1} << 24) || entry.offset > (uint64_t{1} << 31)) break;
        entry.bytes.resize(static_cast<size_t>(length));
        if (std::fread(entry.bytes.data(), 1, entry.bytes.size(), file) != entry.bytes.size()) break;
        const uint32_t crc = crc32(entry.bytes, crc32(std::span(entryHeader).first(12)));
        if (crc != littleEndian(&entryHeader[12], 4)) break;
        contents.entries.push_back(std::move(entry));
    }
    return contents;
}

bool putBack(const std::string& recordingPath, const JournalContents& contents) {
    const FilePointer recording(openPlainFile(recordingPath, "r+b"));
    if (!recording) return false;
    // Newest first, so that where ranges overlap the oldest original wins.
    for (auto entry = contents.entries.rbegin(); entry != contents.entries.rend(); ++entry) {
        if (!writeFileAt(recording.get(), entry->offset, entry->bytes.data(), entry->bytes.size())) return false;
    }
    if (!flushToDevice(recording.get())) return false;
    std::error_code error;
    const uint64_t sizeNow = std::filesystem::file_size(recordingPath, error);
    if (!error && sizeNow > contents.recordingSizeBytes) {
        std::filesystem::resize_file(recordingPath, contents.recordingSizeBytes, error);
    }
    return !error;
}

}  // namespace

RecordingJournal::~RecordingJournal() {
    if (file_ != nullptr) std::fclose(file_);
}

std::string RecordingJournal::pathFor(std::string_view recordingPath) {
    return std::string(recordingPath) + "-journal";
}

bool RecordingJournal::start(const std::string& recordingPath, uint64_t recordingSizeBytes) {
    path_ = pathFor(recordingPath);
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) return false;
    const std::array<uint8_t, kHeaderBytes> header = headerFor(recordingSizeBytes);
    endOffset_ = header.size();
    return writeFileAt(file_, 0, header.data(), header.size()) && flushToDevice(file_) && flushFolderOf(path_);
}

bool RecordingJournal::keep(uint64_t offset, std::span<const uint8_t> original) {
    if (file_ == nullptr) return false;
    std::vector<uint8_t> entry(kEntryHeaderBytes + original.size());
    putLittleEndian(&entry[0], offset, 8);
    putLittleEndian(&entry[8], original.size(), 4);
    std::copy(original.begin(), original.end(), entry.begin() + kEntryHeaderBytes);
    const uint32_t crc = crc32(std::span(entry).subspan(kEntryHeaderBytes), crc32(std::span(entry).first(12)));
    putLittleEndian(&entry[12], crc, 4);
    const bool kept = writeFileAt(file_, endOffset_, entry.data(), entry.size()) && flushToDevice(file_);
    endOffset_ += entry.size();
    return kept;
}

bool RecordingJournal::discard() {
    if (file_ == nullptr) return true;
    std::fclose(file_);
    file_ = nullptr;
    return removeDurably(path_);
}

RecordingJournal::Recovery RecordingJournal::restore(const std::string& recordingPath) {
    const std::string path = pathFor(recordingPath);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return error ? Recovery::Failed : Recovery::NoJournal;
    {
        const FilePointer journal(openPlainFile(path, "rb"));
        if (!journal) return Recovery::Failed;
        const JournalContents contents = readJournal(journal.get());
        // Without a complete header nothing of the recording was touched yet.
        if (contents.headerValid && !putBack(recordingPath, contents)) return Recovery::Failed;
    }
    return removeDurably(path) ? Recovery::Restored : Recovery::Failed;
}

}  // namespace lumen
