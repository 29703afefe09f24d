// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "store/beat_list.h"
#include "store/channel_decoder.h"
#include "store/clock.h"
#include "store/recording_file.h"
#include "store/section_directory.h"

namespace lumen {

inline constexpr std::string_view kRecordingInUseText =
    "This recording is already open in another viewer; close that one first.";
inline constexpr std::string_view kRecordingBusyText =
    "The recording is busy: corrections are being saved into it. Try again in a moment.";

// What a recording may cost in memory, all told: its bytes, the tables and
// lists read from it and the events fed from it. A day's recording takes
// about 2 MB; a file whose sections claim far more is no recording (the
// viewer's own needs, about 24 MB, come on top).
inline constexpr uint64_t kRecordingMemoryBudgetBytes = uint64_t{40} << 20;
// What one event costs in its row (its node and running maximum, with the
// list's spare room) and what one beat word costs in the beat list.
inline constexpr uint64_t kEventMemoryBytes = 24;
inline constexpr uint64_t kBeatWordMemoryBytes = 8;

// The one open recording: the code table, holter.mem with its section
// directory, the start clock, the block count and the beat list. Building it
// runs the whole open sequence; any failure ends the program through the
// fatal handler.
class Recording {
public:
    // programDirectory ends with '/'; huffman.ko2 and path.tmp are read from it.
    explicit Recording(std::string_view programDirectory, RecordingAccess access = RecordingAccess::Read);
    // The same with the recording folder given instead of read from path.tmp.
    Recording(std::string_view programDirectory, std::string_view recordingDirectory,
              RecordingAccess access = RecordingAccess::Read);
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // Every read of a section begins with a lookup; a failed lookup leaves
    // the previous selection, and readers then read the previous place.
    bool selectSection(uint8_t id);
    bool selectSection(SectionId id) { return selectSection(static_cast<uint8_t>(id)); }
    SectionPlace selectedSection() const { return selected_; }

    void selectBlockIndex();
    int32_t blockCount() const { return blockCount_; }
    Clock startClock() const { return startClock_; }
    Clock blockClock(int32_t block) const;

    // Decodes block `block` into the window arrays at (block - windowFirstBlock) * 500.
    Clock fetchBlock(std::span<uint8_t> channel1Window, std::span<uint8_t> channel2Window, int32_t block,
                     int32_t windowFirstBlock);

    // Units per millivolt for the amplitude code of section 1 (raw byte when
    // the code is not 0..3); sets displayMultiplier() for known codes.
    int8_t amplitudeCode();
    int displayMultiplier() const { return displayMultiplier_; }
    // The patient line as stored (code page bytes), line break included.
    std::string readPatientLine();

    // Writes a table back into its section. Where the directory does not
    // name the section, the table was read from wherever the last lookup
    // pointed (`readOffset`): nothing is written there, and a table that
    // no longer matches it cannot be stored (false).
    bool writeBackSection(SectionId id, uint32_t readOffset, std::span<const uint8_t> bytes);
    bool addToEditCounter(uint32_t edits);
    // Accounts for `bytes` more of memory taken for the recording; one that
    // needs more than its budget ends the program as a file not found.
    void chargeMemory(uint64_t bytes);
    // The same for the events fed from the recording; a new feed of them
    // (after the episodes were derived again) first releases the last one's.
    void chargeEventMemory(uint64_t bytes);
    void releaseEventMemory();
    // Reads the section directory again, after an update moved a section.
    void rereadDirectory() { directory_.read(file_); }
    void closeFile() { file_.close(); }

    const std::string& recordingDirectory() const { return recordingDirectory_; }
    const SectionDirectory& directory() const { return directory_; }
    RecordingFile& file() { return file_; }
    const RecordingFile& file() const { return file_; }
    BeatList& beats() { return beats_; }
    const BeatList& beats() const { return beats_; }

    // Where the beat arrays of the window last built come from: its first
    // block (-1 before the first window) and its first beat in the list.
    struct BeatWindowPlace {
        int32_t firstBlock = -1;
        int64_t firstBeatIndex = -1;
    };
    BeatWindowPlace beatWindow;

private:
    void open(RecordingAccess access);
    void readRecordingDirectory(std::string_view programDirectory);
    void readStartClock();
    void readChannelRecord(uint64_t offset, ChannelRecord& record) const;

    std::unique_ptr<ChannelDecoder> decoder_;
    BeatList beats_;
    std::array<uint8_t, kSamplesPerBlock> channel1Buffer_{};
    std::array<uint8_t, kSamplesPerBlock> channel2Buffer_{};
    SectionDirectory directory_;
    SectionPlace selected_;
    RecordingFile file_;
    Clock startClock_;
    std::string recordingDirectory_;
    int32_t blockCount_ = 0;
    int displayMultiplier_ = 1;
    uint64_t memoryChargedBytes_ = 0;
    uint64_t eventMemoryChargedBytes_ = 0;
};

}  // namespace lumen
