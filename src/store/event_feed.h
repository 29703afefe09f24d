// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

class EventSink;
class Recording;
class TrendTable;

inline constexpr uint8_t kArtefactCode = 59;
inline constexpr uint8_t kLeadOffCode = 121;
inline constexpr uint8_t kMarkerCode = 84;
inline constexpr uint8_t kHeartRateMinimumCode = 36;
inline constexpr uint8_t kHeartRateMaximumCode = 51;
inline constexpr uint8_t kStMinimumCode = 60;
inline constexpr uint8_t kStMaximumCode = 61;

// Episode codes come in two families: ventricular and supraventricular
// episodes (the heart-rate extremes among them).
inline constexpr uint8_t kFirstVentricularEpisodeCode = 32;
inline constexpr uint8_t kLastVentricularEpisodeCode = 37;
inline constexpr uint8_t kFirstSupraventricularEpisodeCode = 48;
inline constexpr uint8_t kLastSupraventricularEpisodeCode = 53;

constexpr bool isVentricularEpisode(uint8_t code) {
    return code >= kFirstVentricularEpisodeCode && code <= kLastVentricularEpisodeCode;
}
constexpr bool isSupraventricularEpisode(uint8_t code) {
    return code >= kFirstSupraventricularEpisodeCode && code <= kLastSupraventricularEpisodeCode;
}

// The start time of day in ticks, seconds included, from the recording clock.
int32_t recordingStartTick(Recording& recording);

// Hands every event of the recording to the sink, in the order the catalog
// expects: lead-off beats, patient markers, the heart-rate extremes, the
// episodes, then the ST extremes of the trend tables.
void feedEvents(Recording& recording, TrendTable& trends, EventSink& sink);

// Declares an episode an artefact: the extremes are searched again, the
// episode record becomes code 59 in holter.mem at once, and its beats turn
// into artefact beats (each posted as an artefact event). False when the
// record could not be written.
bool deleteEpisode(Recording& recording, TrendTable& trends, EventSink& sink, uint8_t code, int32_t positionTicks,
                   int32_t episodeIndex);

}  // namespace lumen
