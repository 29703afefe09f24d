#include "store/recording_file.h"

#include <algorithm>
#include <filesystem>

#include "store/disk_steps.h"
#include "store/plain_file.h"

namespace lumen {

RecordingFile::~RecordingFile() { close(); }

bool RecordingFile::open(const std::string& path) {
    close();
    if (RecordingJournal::restore(path) == RecordingJournal::Recovery::Failed) return false;
    file_ = openPlainFile(path, "r+b");
    if (file_ == nullptr) return false;
    path_ = path;
    image_.clear();
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file_)) > 0) {
        image_.insert(image_.end(), chunk, chunk + got);
    }
    return true;
}

void RecordingFile::close() {
    if (updateOpen_) commitUpdate();
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

size_t RecordingFile::readAt(uint64_t offset, std::span<uint8_t> out) const {
    std::fill(out.begin(), out.end(), uint8_t{0});
    if (offset >= image_.size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(out.size(), image_.size() - offset));
    std::copy_n(image_.begin() + static_cast<ptrdiff_t>(offset), count, out.begin());
    return count;
}

void RecordingFile::beginUpdate() {
    if (updateOpen_) return;
    updateOpen_ = true;
    updateFailed_ = false;
    sizeBeforeUpdate_ = image_.size();
    savedRanges_.clear();
}

bool RecordingFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (updateOpen_) return writeInUpdate(offset, bytes);
    beginUpdate();
    const bool written = writeInUpdate(offset, bytes);
    return commitUpdate() && written;
}

bool RecordingFile::writeInUpdate(uint64_t offset, std::span<const uint8_t> bytes) {
    if (file_ == nullptr || updateFailed_) {
        updateFailed_ = true;
        return false;
    }
    if (bytes.empty()) return true;
    const uint64_t end = offset + bytes.size();
    // Bytes that are already there need no write, and no journal.
    if (end <= image_.size() && std::equal(bytes.begin(), bytes.end(), image_.begin() + static_cast<ptrdiff_t>(offset))) {
        return true;
    }
    SavedRange saved{offset, {}};
    if (offset < image_.size()) {
        const auto from = image_.begin() + static_cast<ptrdiff_t>(offset);
        saved.original.assign(from, from + static_cast<ptrdiff_t>(std::min<uint64_t>(bytes.size(), image_.size() - offset)));
    }
    const bool journaled = (journal_.isOpen() || journal_.start(path_, sizeBeforeUpdate_)) &&
                           journal_.keep(saved.offset, saved.original);
    if (!journaled) {
        updateFailed_ = true;
        return false;
    }
    savedRanges_.push_back(std::move(saved));
    const bool written = writeFileAt(file_, offset, bytes.data(), bytes.size());
    if (end > image_.size()) image_.resize(end, 0);
    std::copy(bytes.begin(), bytes.end(), image_.begin() + static_cast<ptrdiff_t>(offset));
    if (!written) updateFailed_ = true;
    return written;
}

bool RecordingFile::commitUpdate() {
    if (!updateOpen_) return !updateFailed_;
    updateOpen_ = false;
    if (!journal_.isOpen()) return !updateFailed_;
    if (!updateFailed_ && flushToDevice(file_) && journal_.discard()) {
        savedRanges_.clear();
        return true;
    }
    updateFailed_ = true;
    rollBack();
    return false;
}

bool RecordingFile::rollBack() {
    bool restored = true;
    for (auto range = savedRanges_.rbegin(); range != savedRanges_.rend(); ++range) {
        restored = writeFileAt(file_, range->offset, range->original.data(), range->original.size()) && restored;
        std::copy(range->original.begin(), range->original.end(), image_.begin() + static_cast<ptrdiff_t>(range->offset));
    }
    savedRanges_.clear();
    if (image_.size() > sizeBeforeUpdate_) {
        image_.resize(sizeBeforeUpdate_);
        std::error_code error;
        if (file_ != nullptr) std::fflush(file_);
        std::filesystem::resize_file(path_, sizeBeforeUpdate_, error);
        restored = restored && !error;
    }
    restored = restored && flushToDevice(file_);
    // Where the originals could not all go back, the journal stays for the
    // next open to finish the job.
    return restored && journal_.discard();
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
