// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

// One number (or text) of `holter report --json`, by its dotted path
// ("hours.3.hrMax"; an array's own path stands for its number of items).
struct Expected {
    std::string path;
    std::string token;  // the exact JSON text wanted, when not a number
    double value = 0.0;
    double tolerance = 0.0;
};
using Expectations = std::vector<Expected>;

// A number, or null when none.
inline void expect(Expectations& out, const std::string& path, std::optional<double> value, double tolerance = 0.0) {
    out.push_back({path, value ? "" : "null", value.value_or(0.0), tolerance});
}
inline void expectText(Expectations& out, const std::string& path, const std::optional<std::string>& text) {
    out.push_back({path, text ? "\"" + *text + "\"" : "null"});
}

// Every number of the study report, counted again from what the recording
// stores by the definitions of docs/report.md. programDirectory ends with
// the separator, as a Recording wants it.
Expectations recount(const std::string& programDirectory, const std::string& recordingDirectory);

// A word that holds no beat: counted nowhere, and it breaks every sequence
// and interval across it.
inline bool isNoBeat(BeatWord word) { return word.label() == kNoBeatLabel || word.label() == kLeadOffLabel; }

inline double quarterTicksBetween(std::span<const BeatWord> words, size_t first, size_t last) {
    return static_cast<double>(words[last].positionQuarterTicks()) - words[first].positionQuarterTicks();
}

enum class Shape : uint8_t { Isolated, Couplet, Run, Tachycardia, Bigeminy, Pause };

struct RecountedEpisode {
    Shape shape = Shape::Pause;
    bool ventricular = false;
    size_t firstWord = 0;  // indices into the beat words, both included
    size_t lastWord = 0;
};

// The ectopy and pause episodes of the words, their counts added under
// "ventricular", "supraventricular" and "pauses". Inside atrial
// fibrillation (one flag per word) a supraventricular beat counts as normal.
std::vector<RecountedEpisode> recountEpisodes(std::span<const BeatWord> words, const std::vector<bool>& inFibrillation,
                                              Expectations& out);

// Heart-rate variability of the normal-to-normal intervals, under "hrv".
void recountHrv(std::span<const BeatWord> words, Expectations& out);

}  // namespace lumen
