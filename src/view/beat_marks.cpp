// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/beat_marks.h"

#include <algorithm>
#include <string>

#include "store/beat_word.h"

namespace lumen {

namespace {

constexpr uint8_t kRunningAtEdge = 255;
constexpr int32_t kMillisecondsPerPosition = 5;

}  // namespace

std::string_view episodeName(uint8_t code) {
    switch (code) {
    case 33: return "VE Couplet";
    case 34: return "VE Run";
    case 35: return "VE Bigeminy";
    case 37: return "VE Tachycardia";
    case 49: return "SVE Couplet";
    case 50: return "SVE Run";
    case 52: return "PAUSE";
    case 53: return "SVE Tachycardia";
    default: return {};
    }
}

std::string_view beatLetter(uint8_t label) {
    if (label == kLeadOffLabel) return "L";
    return std::string_view(kBeatClassLetters).substr(label % kBeatClassCount, 1);
}

int32_t BeatMarkWriter::positionAt(int32_t column) const {
    const uint32_t ordinal = scene_.streams.ordinalAt(column);
    if (ordinal >= window_.beatPositions.size()) return 0;
    return static_cast<int32_t>(window_.beatPositions[ordinal]);
}

// The beat's place within its 20-ms sample moves its letter and tick at the
// faster speeds.
int32_t BeatMarkWriter::markedColumn(int32_t x) const {
    const int32_t phase = positionAt(x) * kMillisecondsPerPosition % 20;
    const int32_t p = scene_.view.speed();
    if (p == 2 && (phase == 0 || phase == 5)) return x - 1;
    if (p == 4) {
        if (phase == 0) return x - 2;
        if (phase == 5) return x - 1;
        if (phase == 15) return x + 1;
    }
    return x;
}

void BeatMarkWriter::markColumn(int32_t x) {
    if (!scene_.streams.holdsBeat(x)) return;
    Image& image = scene_.image;
    const uint8_t label = scene_.streams.labelAt(x);
    const int32_t xm = markedColumn(x);
    // Artefact beats neither show nor break an RR interval.
    if (label % 4 != 3) {
        if (lastMarked_ != 0) {
            const int32_t rr = (positionAt(x) - positionAt(lastMarked_)) * kMillisecondsPerPosition;
            image.textOut({lastMarked_ + 5, scene_.height - metrics_.letter.height}, std::to_string(rr));
        }
        lastMarked_ = x;
    }
    image.textOut({xm - metrics_.letter.width / 2, 0}, beatLetter(label));
    image.textOut({xm - metrics_.tick.width / 2, scene_.height - 2 * metrics_.tick.height}, "I");
}

void BeatMarkWriter::writeEpisodeNames() {
    PixelStreams& streams = scene_.streams;
    const int32_t limit = std::min(scene_.width - scene_.view.speed(), streams.columns);
    if (limit <= 1) return;
    // An episode already running at the left edge is named at column 1.
    streams.episodeCode[0] = kRunningAtEdge;
    int32_t pending = 0;
    for (int32_t x = 1; x < limit; ++x) {
        const auto at = static_cast<size_t>(x);
        if (pending != 0 && streams.holdsBeat(x)) {
            const std::string_view name = episodeName(streams.episodeCode[static_cast<size_t>(pending)]);
            if (!name.empty()) scene_.image.textOut({pending, metrics_.letter.height * 15 / 8}, name);
            pending = 0;
        }
        if (streams.episodeCode[at] != streams.episodeCode[at - 1]) pending = x;
    }
}

}  // namespace lumen
