// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/draw/geometry.h"
#include "view/strip_scene.h"
#include "view/strip_window.h"

namespace lumen {

// Sizes of "N" and "I" in the strip font, measured by every paint.
struct StripFontMetrics {
    Size letter;  // "N"
    Size tick;    // "I"
};

// The name written on the strip where an episode of this code begins;
// empty for codes without one. The same in every language.
std::string_view episodeName(uint8_t code);

// The letter shown for a beat label: "L" for 125, else N, S, V, A by class.
std::string_view beatLetter(uint8_t label);

// Beat letters, ticks and RR intervals, drawn column by column in the trace
// loop of the channel that carries them, then the episode names.
class BeatMarkWriter {
public:
    BeatMarkWriter(StripScene& scene, const StripWindow& window, const StripFontMetrics& metrics)
        : scene_(scene), window_(window), metrics_(metrics) {}

    void markColumn(int32_t x);
    void writeEpisodeNames();

private:
    int32_t positionAt(int32_t column) const;
    int32_t markedColumn(int32_t x) const;

    StripScene& scene_;
    const StripWindow& window_;
    const StripFontMetrics& metrics_;
    int32_t lastMarked_ = 0;  // column of the last beat that shows an RR interval, 0 when none
};

}  // namespace lumen
