// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_window.h"

#include "store/recording.h"

namespace lumen {

uint32_t StripWindow::ordinalAt(int32_t sample) const {
    if (sample < 0 || sample >= kSamples) return 0;
    return sample < kOrdinalSplit ? ordinals1[static_cast<size_t>(sample)]
                                  : ordinals2[static_cast<size_t>(sample - kOrdinalSplit)];
}

ChangeKind StripWindow::loadWithClocks(Recording& recording, int32_t firstBlock) {
    this->firstBlock = firstBlock;
    recording.selectBlockIndex();
    for (int32_t i = 0; i < kSamples / kSamplesPerBlock; ++i) {
        const Clock clock = recording.fetchBlock(channel1, channel2, firstBlock + i, firstBlock);
        if (i % 3 == 0) slotClocks[static_cast<size_t>(i / 3)] = clock;
    }
    windowEpisodes(recording, penIndex, firstBlock, WindowLength::Full, EpisodeMarks::PenIndex);
    windowEpisodes(recording, episodeCode, firstBlock, WindowLength::Full, EpisodeMarks::RawCode);
    const ChangeKind kind = windowBeats(recording, beatArrays(), firstBlock, WriteBack::Skip, WindowLength::Full);
    windowMarkers(recording, patientMarker, firstBlock, WindowLength::Full);
    return kind;
}

}  // namespace lumen
