// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_window.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "store/episode_record.h"
#include "store/event_feed.h"
#include "store/recording.h"

namespace lumen {
namespace {

int32_t lengthOf(WindowLength length) { return static_cast<int32_t>(length); }

// The trace pen of a sample inside an episode: 1 ventricular, 2 supraventricular.
uint8_t penIndexOf(uint8_t episodeCode) {
    if (isVentricularEpisode(episodeCode)) return 1;
    return isSupraventricularEpisode(episodeCode) ? 2 : 0;
}

class OrdinalWriter {
public:
    OrdinalWriter(const BeatWindowArrays& arrays, WindowLength length)
        : first_(arrays.ordinals1), second_(arrays.ordinals2), split_(length == WindowLength::Full ? 3000 : 1500) {}

    void put(int32_t sample, uint32_t ordinal) const {
        const auto index = static_cast<size_t>(sample < split_ ? sample : sample - split_);
        std::span<uint32_t> target = sample < split_ ? first_ : second_;
        if (index < target.size()) target[index] = ordinal;
    }

private:
    std::span<uint32_t> first_;
    std::span<uint32_t> second_;
    int32_t split_;
};

}  // namespace

ChangeKind writeBackWindow(Recording& recording, std::span<const uint8_t> labels, WindowLength length) {
    const Recording::BeatWindowPlace place = recording.beatWindow;
    if (place.firstBlock < 0 || place.firstBeatIndex < 0) return ChangeKind::None;
    const int64_t base = int64_t{place.firstBlock} * kSamplesPerBlock;
    const int32_t window = std::min<int32_t>(lengthOf(length), static_cast<int32_t>(labels.size()));
    BeatList& beats = recording.beats();
    const std::span<const BeatWord> words = std::as_const(beats).words();
    const size_t end = std::min(words.size(), static_cast<size_t>(place.firstBeatIndex) + static_cast<size_t>(lengthOf(length)));
    ChangeKind kind = ChangeKind::None;
    for (size_t i = static_cast<size_t>(place.firstBeatIndex); i < end; ++i) {
        const BeatWord word = words[i];
        if (word.label() == kNoBeatLabel || word.positionQuarterTicks() == 0 || word.sample() < base) continue;
        const int64_t at = word.sample() - base;
        if (at >= window) break;
        // Compared on the beat's own sample, even where a second beat on the
        // same sample was placed one sample on.
        const uint8_t label = labels[static_cast<size_t>(at)];
        if (label == word.label()) continue;
        if (kind == ChangeKind::None) {
            const bool wasNormal = word.beatClass() == BeatClass::Normal;
            const bool isNormal = (label & 3u) == 0;
            kind = wasNormal != isNormal ? ChangeKind::NormalityChanged : ChangeKind::OtherChange;
        }
        beats.relabel(i, label);
    }
    return kind;
}

ChangeKind windowBeats(Recording& recording, const BeatWindowArrays& arrays, int32_t firstBlock,
                       WriteBack writeBack, WindowLength length) {
    ChangeKind kind = ChangeKind::None;
    if (writeBack == WriteBack::PreviousWindowFirst && recording.beatWindow.firstBlock != -1) {
        kind = writeBackWindow(recording, arrays.labels, length);
    }
    recording.beatWindow = Recording::BeatWindowPlace{firstBlock, -1};
    BeatList& beats = recording.beats();
    const std::span<const BeatWord> words = std::as_const(beats).words();
    if (words.empty()) return kind;

    const int32_t window = std::min<int32_t>(lengthOf(length), static_cast<int32_t>(arrays.labels.size()));
    const int64_t base = int64_t{firstBlock} * kSamplesPerBlock;
    const OrdinalWriter ordinals(arrays, length);
    arrays.positions.assign(1, 0);
    int32_t cursor = 0;
    auto clearUpTo = [&](int64_t end) {
        for (; cursor < end && cursor < window; ++cursor) {
            arrays.labels[static_cast<size_t>(cursor)] = kNoBeatLabel;
            ordinals.put(cursor, 0);
        }
    };
    // Every word before this one lies before the window and would be skipped.
    for (size_t i = beats.firstReaching(static_cast<int32_t>(std::min<int64_t>(base, INT32_MAX)));
         i < words.size() && cursor < window; ++i) {
        const BeatWord word = words[i];
        if (word.label() == kNoBeatLabel || word.positionQuarterTicks() == 0 || word.sample() < base) continue;
        if (recording.beatWindow.firstBeatIndex < 0) recording.beatWindow.firstBeatIndex = static_cast<int64_t>(i);
        clearUpTo(word.sample() - base);
        if (cursor >= window) break;
        // A second beat on an occupied sample takes the next one.
        arrays.labels[static_cast<size_t>(cursor)] = word.label();
        arrays.positions.push_back(word.positionQuarterTicks());
        ordinals.put(cursor, static_cast<uint32_t>(arrays.positions.size() - 1));
        ++cursor;
    }
    clearUpTo(window);
    return kind;
}

void windowEpisodes(Recording& recording, std::span<uint8_t> out, int32_t firstBlock, WindowLength length,
                    EpisodeMarks marks) {
    const int32_t window = std::min<int32_t>(lengthOf(length), static_cast<int32_t>(out.size()));
    std::fill(out.begin(), out.begin() + window, uint8_t{0});
    recording.selectSection(SectionId::Episodes);
    const SectionPlace place = recording.selectedSection();
    const int64_t base = int64_t{firstBlock} * kSamplesPerBlock;
    int64_t cursor = 0;
    for (uint32_t i = 0; i < place.length / kEpisodeRecordBytes && cursor < window; ++i) {
        std::array<uint8_t, kEpisodeRecordBytes> bytes;
        recording.file().readAt(uint64_t{place.offset} + uint64_t{i} * kEpisodeRecordBytes, bytes);
        const EpisodeRecord record = EpisodeRecord::parse(bytes);
        if (record.endTicks() < base) continue;
        uint8_t mark = record.code;
        if (marks == EpisodeMarks::PenIndex) mark = penIndexOf(record.code);
        // A later record marks only what lies past the earlier one's end.
        cursor = std::max(cursor, record.startTicks() - base);
        for (; cursor <= record.endTicks() - base && cursor < window; ++cursor) out[static_cast<size_t>(cursor)] = mark;
    }
}

void windowMarkers(Recording& recording, std::span<uint8_t> out, int32_t firstBlock, WindowLength length) {
    const int32_t window = std::min<int32_t>(lengthOf(length), static_cast<int32_t>(out.size()));
    std::fill(out.begin(), out.begin() + window, uint8_t{0});
    recording.selectSection(SectionId::Markers);
    const SectionPlace place = recording.selectedSection();
    const int64_t base = int64_t{firstBlock} * kSamplesPerBlock;
    int64_t cursor = 0;
    for (uint32_t i = 0; i < place.length / kMarkerBytes && cursor < window; ++i) {
        const int64_t sample = int64_t{recording.file().readU24(uint64_t{place.offset} + uint64_t{i} * kMarkerBytes)} * 5;
        if (sample < base) continue;
        // Two markers on one sample mark it and the next.
        cursor = std::max(cursor, sample - base);
        if (cursor >= window) break;
        out[static_cast<size_t>(cursor++)] = 1;
    }
}

}  // namespace lumen
