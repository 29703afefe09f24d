// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording_writer.h"

#include <cstdio>
#include <memory>

#include "platform/file/utf8_path.h"
#include "store/channel_encoder.h"

namespace lumen {
namespace {

constexpr uint32_t kHeaderBytes = kEditCounterOffset + 4;
constexpr uint32_t kMaxFileBytes = 1u << 24;

void putU24(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
    bytes[at + 2] = static_cast<uint8_t>(value >> 16);
}

}  // namespace

RecordingWriter::RecordingWriter(const CodeTable& table) : table_(table) {}

void RecordingWriter::setSection(SectionId id, std::vector<uint8_t> bytes) {
    setSection(static_cast<uint8_t>(id), std::move(bytes));
}

void RecordingWriter::setSection(uint8_t id, std::vector<uint8_t> bytes) {
    sections_[id] = std::move(bytes);
}

void RecordingWriter::addBlock(std::span<const uint8_t, kSamplesPerBlock> channel1,
                               std::span<const uint8_t, kSamplesPerBlock> channel2) {
    const auto blockNumber = static_cast<uint32_t>(blockOffsets_.size());
    blockOffsets_.push_back(static_cast<uint32_t>(signal_.size()));
    // The 9 bytes before the records: block number (24 bits), length of the
    // two records (16 bits), channel count, samples per second, two spare.
    const size_t headerAt = signal_.size();
    signal_.resize(headerAt + kBlockHeaderBytes, 0);
    putU24(signal_, headerAt, blockNumber);
    signal_[headerAt + 5] = 2;
    signal_[headerAt + 6] = 50;
    const ChannelEncoder encoder(table_);
    encoder.encode(channel1, signal_);
    encoder.encode(channel2, signal_);
    const size_t recordBytes = signal_.size() - headerAt - kBlockHeaderBytes;
    signal_[headerAt + 3] = static_cast<uint8_t>(recordBytes);
    signal_[headerAt + 4] = static_cast<uint8_t>(recordBytes >> 8);
}

std::vector<uint8_t> RecordingWriter::build() const {
    std::map<uint8_t, std::vector<uint8_t>> all = sections_;
    if (!blockOffsets_.empty()) all[kSignalSectionId] = signal_;
    all[static_cast<uint8_t>(SectionId::BlockIndex)].assign(blockOffsets_.size() * 3, 0);
    const uint8_t sectionCount = all.rbegin()->first;
    if (sectionCount > kMaxSections) return {};

    std::map<uint8_t, uint32_t> offsets;
    uint64_t at = kHeaderBytes;
    for (uint8_t id = 1; id <= sectionCount; ++id) {
        offsets[id] = static_cast<uint32_t>(at);
        if (const auto it = all.find(id); it != all.end()) at += it->second.size();
    }
    if (at > kMaxFileBytes) return {};

    auto& index = all[static_cast<uint8_t>(SectionId::BlockIndex)];
    for (size_t b = 0; b < blockOffsets_.size(); ++b) putU24(index, 3 * b, offsets[kSignalSectionId] + blockOffsets_[b]);

    std::vector<uint8_t> file(kHeaderBytes, 0);
    file[0] = sectionCount;
    for (uint8_t id = 1; id <= sectionCount; ++id) {
        const size_t entry = 1 + kDirectoryEntryBytes * (id - 1u);
        const auto it = all.find(id);
        const uint32_t length = it != all.end() ? static_cast<uint32_t>(it->second.size()) : 0;
        file[entry] = id;
        putU24(file, entry + 6, length);
        putU24(file, entry + 9, offsets[id]);
        if (it != all.end()) file.insert(file.end(), it->second.begin(), it->second.end());
    }
    for (uint32_t k = 0; k < 4; ++k) file[kEditCounterOffset + k] = static_cast<uint8_t>(editCounter_ >> (8 * k));
    return file;
}

bool RecordingWriter::writeFile(const std::string& path) const {
    const std::vector<uint8_t> bytes = build();
    if (bytes.empty()) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openFile(path, "wb"), &std::fclose);
    if (!file) return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fflush(file.get()) == 0;
}

}  // namespace lumen
