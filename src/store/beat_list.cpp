// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_list.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "store/recording.h"

namespace lumen {

void BeatList::load(Recording& recording) {
    recording.selectSection(SectionId::Beats);
    const SectionPlace place = recording.selectedSection();
    loadedOffset_ = place.offset;
    const RecordingFile& file = recording.file();
    uint64_t wordCount = place.length / kBeatWordBytes;
    const uint64_t available = place.offset < file.size() ? (file.size() - place.offset) / kBeatWordBytes : 0;
    if (wordCount > available) wordCount = available;
    recording.chargeMemory(wordCount * kBeatWordMemoryBytes);
    ceilingStale_ = true;
    if (wordCount == 0) {
        words_.clear();
        return;
    }
    words_.resize(wordCount);
    const auto bytes = file.image().subspan(place.offset, wordCount * kBeatWordBytes);
    for (size_t i = 0; i < wordCount; ++i) {
        const uint8_t* b = bytes.data() + i * kBeatWordBytes;
        words_[i].raw = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
    }
}

std::vector<uint8_t> BeatList::sectionBytes() const {
    std::vector<uint8_t> bytes(words_.size() * kBeatWordBytes);
    for (size_t i = 0; i < words_.size(); ++i) {
        const uint32_t raw = words_[i].raw;
        for (uint32_t k = 0; k < kBeatWordBytes; ++k)
            bytes[i * kBeatWordBytes + k] = static_cast<uint8_t>(raw >> (8 * k));
    }
    return bytes;
}

bool BeatList::save(Recording& recording) const {
    return recording.writeBackSection(SectionId::Beats, loadedOffset_, sectionBytes());
}

bool BeatList::saved(const Recording& recording) const { return recording.file().holds(loadedOffset_, sectionBytes()); }

size_t BeatList::firstReaching(int32_t sample) {
    if (ceilingStale_) {
        sampleCeiling_.resize(words_.size());
        int32_t ceiling = INT32_MIN;
        for (size_t i = 0; i < words_.size(); ++i) {
            ceiling = std::max(ceiling, words_[i].sample());
            sampleCeiling_[i] = ceiling;
        }
        ceilingStale_ = false;
    }
    return static_cast<size_t>(std::lower_bound(sampleCeiling_.begin(), sampleCeiling_.end(), sample) -
                               sampleCeiling_.begin());
}

const BeatCounts& BeatList::count() {
    // A histogram of the 7-bit labels first: one add per word, no branch,
    // so that recounting a day's beats after every relabel stays cheap.
    std::array<uint32_t, 128> byLabel{};
    for (const BeatWord word : words_) ++byLabel[word.label()];
    counts_ = BeatCounts{};
    for (uint32_t label = 0; label < byLabel.size(); ++label) {
        if (label >> 2 == kNoFormCode) {
            counts_.noForm += byLabel[label];
        } else {
            counts_.byClass[label & 3u] += byLabel[label];
        }
    }
    return counts_;
}

}  // namespace lumen
