#pragma once
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace lumen {

// holter.mem opened for reading and writing in place. The whole file is read
// once at open (it is at most 16 MiB: every offset in it has 24 bits), so
// reads are memory copies; writes go to the file and to the copy alike.
class RecordingFile {
public:
    RecordingFile() = default;
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;
    ~RecordingFile();

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Copies up to out.size() bytes from `offset`; what lies past the end of
    // the file reads as zero, as a short read into a cleared buffer would.
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const;
    // Returns false when the bytes could not all be written and flushed.
    bool writeAt(uint64_t offset, std::span<const uint8_t> bytes);

    uint64_t size() const { return image_.size(); }
    std::span<const uint8_t> image() const { return image_; }

    uint8_t readU8(uint64_t offset) const;
    uint32_t readU24(uint64_t offset) const;
    uint32_t readU32(uint64_t offset) const;

private:
    std::FILE* file_ = nullptr;
    std::vector<uint8_t> image_;
};

}  // namespace lumen
