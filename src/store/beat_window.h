// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace lumen {

class Recording;

// A window of 3 blocks (the short one) or 12 blocks of per-sample arrays.
enum class WindowLength : int32_t { Short = 1500, Full = 6000 };
enum class WriteBack { Skip, PreviousWindowFirst };
enum class EpisodeMarks { PenIndex, RawCode };

// What a write-back changed: nothing, a beat moved between normal and
// abnormal (counted as an edit), or a class change among abnormal ones.
enum class ChangeKind : int32_t { None = 0, NormalityChanged = 1, OtherChange = 2 };

// The beat arrays of a window. Ordinals of the full window's samples from
// 3000 on go into the second array; the short window uses the first only.
struct BeatWindowArrays {
    std::span<uint8_t> labels;
    std::span<uint32_t> ordinals1;
    std::span<uint32_t> ordinals2;
    // Entry k holds the position (1/200 s) of the beat with ordinal k; entry 0 is unused.
    std::vector<uint32_t>& positions;
};

// Per-sample beat labels (121 where there is no beat) and ordinals for the
// window from `firstBlock`; with WriteBack::PreviousWindowFirst, the labels as
// they stand are first written back into the beats of the previous window.
ChangeKind windowBeats(Recording& recording, const BeatWindowArrays& arrays, int32_t firstBlock,
                       WriteBack writeBack, WindowLength length);

// Carries relabelled beats of the current window into the beat list.
ChangeKind writeBackWindow(Recording& recording, std::span<const uint8_t> labels, WindowLength length);

// Marks the samples inside episodes: 1 ventricular, 2 supraventricular, 0
// otherwise, or the raw event code.
void windowEpisodes(Recording& recording, std::span<uint8_t> out, int32_t firstBlock, WindowLength length,
                    EpisodeMarks marks);

// 1 on each patient marker's sample, 0 elsewhere.
void windowMarkers(Recording& recording, std::span<uint8_t> out, int32_t firstBlock, WindowLength length);

}  // namespace lumen
