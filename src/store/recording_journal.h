#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace lumen {

// The rollback journal kept beside holter.mem while corrections are written
// into it in place. Before a range of the recording is overwritten, its
// original bytes are appended here and flushed to the device; the journal is
// removed only once the new bytes are on the device. A journal found when a
// recording is opened means a write was cut short: its ranges are put back,
// so the recording is exactly as it was before that write began.
//
// Layout: a 24-byte header ("LUMENJNL", u32 version, u32 CRC-32 of the
// header's other bytes, u64 recording size before the write), then entries
// of u64 offset, u32 length, u32 CRC-32 of offset, length and bytes, then the
// bytes. Integers are little-endian. A torn last entry fails its check and is
// ignored: its range had not been touched yet.
class RecordingJournal {
public:
    enum class Recovery { NoJournal, Restored, Failed };

    RecordingJournal() = default;
    RecordingJournal(const RecordingJournal&) = delete;
    RecordingJournal& operator=(const RecordingJournal&) = delete;
    ~RecordingJournal();

    static std::string pathFor(std::string_view recordingPath);

    // Creates the journal and makes its header durable.
    bool start(const std::string& recordingPath, uint64_t recordingSizeBytes);
    // Appends the original bytes of a range and makes them durable.
    bool keep(uint64_t offset, std::span<const uint8_t> original);
    // The new bytes are durable: the journal goes.
    bool discard();
    bool isOpen() const { return file_ != nullptr; }

    // Puts back what a leftover journal holds and removes it.
    static Recovery restore(const std::string& recordingPath);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    uint64_t endOffset_ = 0;
};

}  // namespace lumen
