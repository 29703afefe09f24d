#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

// The episode kinds of the event rows, counted afresh from the beat words.
enum class RecountedKind : uint8_t {
    VentricularIsolated,
    VentricularCouplet,
    VentricularRun,
    VentricularTachycardia,
    VentricularBigeminy,
    SupraventricularIsolated,
    SupraventricularCouplet,
    SupraventricularRun,
    SupraventricularTachycardia,
    Pause,
};

struct RecountedEpisode {
    RecountedKind kind = RecountedKind::Pause;
    size_t firstWord = 0;  // indices into the beat words, both included
    size_t lastWord = 0;
};

// A word that holds no beat: counted nowhere, and it breaks every sequence
// and interval across it.
inline bool isNoBeat(BeatWord word) { return word.label() == kNoBeatLabel || word.label() == kLeadOffLabel; }

// The ectopy and pause episodes of the words in stored order. Inside atrial
// fibrillation (`insideFibrillation`, one flag per word) a supraventricular
// beat counts as normal.
std::vector<RecountedEpisode> recountEpisodes(std::span<const BeatWord> words,
                                              const std::vector<bool>& insideFibrillation);

}  // namespace lumen
