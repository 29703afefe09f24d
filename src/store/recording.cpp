// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording.h"

#include <cstdio>
#include <memory>

#include "store/amplitude_code.h"
#include "store/fatal_error.h"
#include "store/plain_file.h"

namespace lumen {

Recording::Recording(std::string_view programDirectory, RecordingAccess access)
    : decoder_(std::make_unique<ChannelDecoder>(loadCodeTable(programDirectory))) {
    readRecordingDirectory(programDirectory);
    open(access);
}

Recording::Recording(std::string_view programDirectory, std::string_view recordingDirectory, RecordingAccess access)
    : decoder_(std::make_unique<ChannelDecoder>(loadCodeTable(programDirectory))),
      recordingDirectory_(recordingDirectory) {
    open(access);
}

void Recording::open(RecordingAccess access) {
    const std::string path = recordingDirectory_ + "/holter.mem";
    const OpenResult result = file_.open(path, access);
    for (const std::string& note : file_.notes()) std::fprintf(stderr, "%s\n", note.c_str());
    switch (result) {
    case OpenResult::Opened: break;
    case OpenResult::NotFound:
    case OpenResult::TooLarge: raiseFileNotFound(path);
    case OpenResult::InUse: raiseFatal(kRecordingInUseText);
    case OpenResult::Busy: raiseFatal(kRecordingBusyText);
    }
    chargeMemory(file_.size());
    directory_.read(file_);
    readStartClock();
    selectBlockIndex();
    beatWindow = BeatWindowPlace{};
}

void Recording::readRecordingDirectory(std::string_view programDirectory) {
    const std::string path = std::string(programDirectory) + "path.tmp";
    PlainFile file(openPlainFile(path, "rt"));
    if (!file) raiseFileNotFound(path);
    // One word: the directory ends at the first blank.
    char word[300] = {};
    if (std::fscanf(file.get(), "%299s", word) != 1) word[0] = '\0';
    recordingDirectory_ = word;
}

void Recording::readStartClock() {
    selectSection(SectionId::RecordingClock);
    uint8_t bytes[6];
    file_.readAt(selected_.offset, bytes);
    // Block clocks run from whole minutes; the seconds byte only reaches the
    // event timeline.
    startClock_ = Clock{bytes[5], bytes[4], 0};
}

bool Recording::selectSection(uint8_t id) {
    const auto place = directory_.find(id);
    if (!place) return false;
    selected_ = *place;
    return true;
}

void Recording::selectBlockIndex() {
    selectSection(SectionId::BlockIndex);
    blockCount_ = static_cast<int32_t>(selected_.length / 3);
}

Clock Recording::blockClock(int32_t block) const {
    // Byte arithmetic, as the clock always was: one wrap past midnight.
    const int32_t seconds = 10 * block;
    auto hour = static_cast<uint8_t>(startClock_.hour + seconds / kSecondsPerHour);
    auto minute = static_cast<uint8_t>(startClock_.minute + (seconds % kSecondsPerHour) / kSecondsPerMinute);
    auto second = static_cast<uint8_t>(startClock_.second + seconds % 60);
    if (second > 59) {
        minute = static_cast<uint8_t>(minute + second / 60);
        second = static_cast<uint8_t>(second % 60);
    }
    if (minute > 59) {
        hour = static_cast<uint8_t>(hour + minute / 60);
        minute = static_cast<uint8_t>(minute % 60);
    }
    if (hour > 23) hour = static_cast<uint8_t>(hour - 24);
    return Clock{hour, minute, second};
}

void Recording::readChannelRecord(uint64_t offset, ChannelRecord& record) const {
    uint8_t header[3];
    file_.readAt(offset, header);
    record.bitCount = static_cast<uint16_t>(header[0] | (header[1] << 8));
    record.firstSample = header[2];
    const uint32_t dataBytes = std::min(record.storedDataBytes(), kMaxRecordDataBytes);
    record.data.fill(0);
    file_.readAt(offset + 3, std::span(record.data).first(dataBytes));
}

Clock Recording::fetchBlock(std::span<uint8_t> channel1Window, std::span<uint8_t> channel2Window, int32_t block,
                            int32_t windowFirstBlock) {
    const Clock clock = blockClock(block);
    const int64_t at = (int64_t{block} - windowFirstBlock) * kSamplesPerBlock;
    const bool fits = at >= 0 && at + kSamplesPerBlock <= static_cast<int64_t>(channel1Window.size()) &&
                      at + kSamplesPerBlock <= static_cast<int64_t>(channel2Window.size());
    if (block >= blockCount_) {
        // Blocks past the end read as flat baseline.
        if (fits) {
            std::fill_n(channel1Window.begin() + at, kSamplesPerBlock, kBaselineSample);
            std::fill_n(channel2Window.begin() + at, kSamplesPerBlock, kBaselineSample);
        }
        return kNoDataClock;
    }
    const uint32_t blockOffset = file_.readU24(selected_.offset + 3ull * static_cast<uint32_t>(block));
    ChannelRecord record;
    const uint64_t channel1At = uint64_t{blockOffset} + kBlockHeaderBytes;
    readChannelRecord(channel1At, record);
    // Channel 2 follows the bytes read of channel 1, not the length its bit
    // count claims.
    const uint64_t channel2At = channel1At + 3 + std::min(record.storedDataBytes(), kMaxRecordDataBytes);
    bool decoded = decoder_->decode(record, channel1Buffer_) != kDecodeFailed;
    if (decoded) {
        readChannelRecord(channel2At, record);
        decoded = decoder_->decode(record, channel2Buffer_) != kDecodeFailed;
    }
    if (!decoded) {
        raiseNotice("Hiba", "Kicsomagolasi hiba!");
        raiseFatal("Error while extracting!");
    }
    if (fits) {
        std::copy(channel1Buffer_.begin(), channel1Buffer_.end(), channel1Window.begin() + at);
        std::copy(channel2Buffer_.begin(), channel2Buffer_.end(), channel2Window.begin() + at);
    }
    return clock;
}

int8_t Recording::amplitudeCode() {
    selectSection(SectionId::Patient);
    const uint8_t code = file_.readU8(uint64_t{selected_.offset} + kPatientAmplitudeOffset);
    if (code > 3) return static_cast<int8_t>(code);
    displayMultiplier_ = kDisplayMultiplierOfCode[code];
    // Negative: the display draws upward from a falling pixel row.
    return static_cast<int8_t>(-kUnitsPerMillivoltOfCode[code]);
}

std::string Recording::readPatientLine() {
    selectSection(SectionId::Patient);
    // As a line read of at most 99 characters: up to and including a line
    // break, ending early at the end of the file or at a zero byte.
    std::string line;
    for (uint64_t at = selected_.offset; line.size() < 99 && at < file_.size(); ++at) {
        const uint8_t byte = file_.readU8(at);
        if (byte == 0) break;
        line.push_back(static_cast<char>(byte));
        if (byte == '\n') break;
    }
    return line;
}

void Recording::chargeMemory(uint64_t bytes) {
    memoryChargedBytes_ += bytes;
    if (memoryChargedBytes_ > kRecordingMemoryBudgetBytes) raiseFileNotFound(recordingDirectory_ + "/holter.mem");
}

void Recording::chargeEventMemory(uint64_t bytes) {
    eventMemoryChargedBytes_ += bytes;
    chargeMemory(bytes);
}

void Recording::releaseEventMemory() {
    memoryChargedBytes_ -= eventMemoryChargedBytes_;
    eventMemoryChargedBytes_ = 0;
}

bool Recording::writeBackSection(SectionId id, uint32_t readOffset, std::span<const uint8_t> bytes) {
    if (selectSection(id)) return file_.writeAt(selected_.offset, bytes);
    return file_.holds(readOffset, bytes);
}

bool Recording::addToEditCounter(uint32_t edits) {
    const uint32_t total = file_.readU32(kEditCounterOffset) + edits;
    const uint8_t bytes[4] = {static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8),
                              static_cast<uint8_t>(total >> 16), static_cast<uint8_t>(total >> 24)};
    return file_.writeAt(kEditCounterOffset, bytes);
}

}  // namespace lumen
