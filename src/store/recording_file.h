#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "store/recording_journal.h"

namespace lumen {

// holter.mem opened for reading and writing in place. The whole file is read
// once at open (it is at most 16 MiB: every offset in it has 24 bits), so
// reads are memory copies; writes go to the file and to the copy alike.
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

    // Puts back a write that a crash cut short before reading the file.
    bool open(const std::string& path);
    // Commits an update still open.
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Copies up to out.size() bytes from `offset`; what lies past the end of
    // the file reads as zero, as a short read into a cleared buffer would.
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const;
    // Returns false when the bytes could not all be written; inside an update
    // every later write is then refused and the commit rolls back.
    bool writeAt(uint64_t offset, std::span<const uint8_t> bytes);

    void beginUpdate();
    // True when every write of the update is on the device. False means the
    // recording holds none of them (or, where even the roll-back failed, a
    // journal that the next open uses to put the original bytes back).
    bool commitUpdate();

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
    bool writeInUpdate(uint64_t offset, std::span<const uint8_t> bytes);
    bool rollBack();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<uint8_t> image_;
    RecordingJournal journal_;
    bool updateOpen_ = false;
    bool updateFailed_ = false;
    uint64_t sizeBeforeUpdate_ = 0;
    std::vector<SavedRange> savedRanges_;
};

}  // namespace lumen
