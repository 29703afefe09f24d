#include "store/recording_file.h"

#include <algorithm>
#include <cstring>

namespace lumen {

RecordingFile::~RecordingFile() { close(); }

bool RecordingFile::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "r+b");
    if (file_ == nullptr) return false;
    image_.clear();
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file_)) > 0) {
        image_.insert(image_.end(), chunk, chunk + got);
    }
    return true;
}

void RecordingFile::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

size_t RecordingFile::readAt(uint64_t offset, std::span<uint8_t> out) const {
    std::fill(out.begin(), out.end(), uint8_t{0});
    if (offset >= image_.size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(out.size(), image_.size() - offset));
    std::memcpy(out.data(), image_.data() + offset, count);
    return count;
}

bool RecordingFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (file_ == nullptr) return false;
    if (bytes.empty()) return true;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() &&
                         std::fflush(file_) == 0;
    const uint64_t end = offset + bytes.size();
    if (end > image_.size()) image_.resize(end, 0);
    std::memcpy(image_.data() + offset, bytes.data(), bytes.size());
    return written;
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
