// SPDX-License-Identifier: GPL-3.0-or-later
// holter.mem as the input: the strip's beat, episode and marker arrays for
// windows spread over the recording (capped), in both window lengths and
// write-back modes, with relabelled beats carried back into the beat list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_home.h"
#include "harness_fatal_handler.h"
#include "store/beat_window.h"

namespace lumen::fuzz {
namespace {

constexpr int32_t kWindowCap = 6;
constexpr size_t kFullSamples = 6000;
constexpr size_t kOrdinalSplit = 3000;

struct WindowStorage {
    std::vector<uint8_t> labels;
    std::vector<uint32_t> ordinals1;
    std::vector<uint32_t> ordinals2;
    std::vector<uint32_t> positions;
    std::vector<uint8_t> marks;

    WindowStorage(size_t samples, size_t ordinals)
        : labels(samples, kNoBeatLabel), ordinals1(ordinals, 0), ordinals2(ordinals, 0), marks(samples, 0) {}
    BeatWindowArrays arrays() { return {labels, ordinals1, ordinals2, positions}; }
};

// The physician's corrections: every beat of the window gets another class.
void relabel(std::span<uint8_t> labels, uint32_t salt) {
    for (size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == kNoBeatLabel) continue;
        const uint32_t shift = 1 + (salt + static_cast<uint32_t>(i)) % 3;
        labels[i] = static_cast<uint8_t>((labels[i] & ~3u) | ((labels[i] + shift) & 3u));
    }
}

int32_t lastBeatBlock(const Recording& recording) {
    int32_t last = 0;
    for (const BeatWord word : recording.beats().words()) last = std::max(last, word.sample() / kSamplesPerBlock);
    return last;
}

void buildWindows(Recording& recording, WindowStorage& storage, WindowLength length, int32_t blocks, int32_t cap) {
    uint32_t salt = 0;
    for (const int32_t first : FuzzHome::spreadBlocks(blocks, cap)) {
        const WriteBack mode = salt % 2 == 0 ? WriteBack::Skip : WriteBack::PreviousWindowFirst;
        (void)windowBeats(recording, storage.arrays(), first, mode, length);
        windowEpisodes(recording, storage.marks, first, length, EpisodeMarks::PenIndex);
        windowEpisodes(recording, storage.marks, first, length, EpisodeMarks::RawCode);
        windowMarkers(recording, storage.marks, first, length);
        relabel(storage.labels, salt++);
        if (salt % 3 == 0) (void)writeBackWindow(recording, storage.labels, length);
    }
}

void windowRecording(std::span<const uint8_t> input) {
    if (FuzzHome::reachesFarPastEnd(input)) return;
    FuzzHome::writeRecording(input);
    const auto recording = FuzzHome::open();
    recording->beats().load(*recording);
    const int32_t blocks = std::max(recording->blockCount(), lastBeatBlock(*recording));

    WindowStorage full(kFullSamples, kOrdinalSplit);
    buildWindows(*recording, full, WindowLength::Full, blocks, kWindowCap);
    buildWindows(*recording, full, WindowLength::Short, blocks, kWindowCap);
    // Arrays shorter than the window: everything past them is left alone.
    WindowStorage shortArrays(1000, 400);
    buildWindows(*recording, shortArrays, WindowLength::Full, blocks, 3);
    recording->beats().count();
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::windowRecording(input); });
    return 0;
}
