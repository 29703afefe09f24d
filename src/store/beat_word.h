// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

enum class BeatClass : uint8_t { Normal = 0, Supraventricular = 1, Ventricular = 2, Artefact = 3 };
inline constexpr int kBeatClassCount = 4;
// The letter each class is printed and named by: N, S, V, A.
inline constexpr char kBeatClassLetters[kBeatClassCount + 1] = "NSVA";

inline constexpr uint8_t kNoFormCode = 31;
// Label 121 (code 30, class 1) marks a sample without a beat.
inline constexpr uint8_t kNoBeatLabel = 121;
// Label 125 (code 31, class 1) is a beat in lead-off, printed "L".
inline constexpr uint8_t kLeadOffLabel = 125;
// The two labels a class cannot be given by: the supraventricular class of
// forms 30 and 31 already means something else.
inline constexpr bool isReservedLabel(uint8_t label) { return label == kNoBeatLabel || label == kLeadOffLabel; }

// One beat of section 21: position in 1/200 s (bits 0-24), class (bits
// 25-26) and form code (bits 27-31). The 7-bit label is code * 4 + class.
struct BeatWord {
    uint32_t raw = 0;

    uint32_t positionQuarterTicks() const { return raw & 0x1FFFFFFu; }
    int32_t sample() const { return static_cast<int32_t>(positionQuarterTicks() / 4); }
    BeatClass beatClass() const { return static_cast<BeatClass>((raw >> 25) & 3u); }
    uint8_t formCode() const { return static_cast<uint8_t>(raw >> 27); }
    uint8_t label() const { return static_cast<uint8_t>(raw >> 25); }

    BeatWord withLabel(uint8_t label) const { return BeatWord{(raw & 0x1FFFFFFu) | (uint32_t{label} & 0x7Fu) << 25}; }
    static BeatWord make(uint32_t positionQuarterTicks, BeatClass beatClass, uint8_t formCode) {
        return BeatWord{(positionQuarterTicks & 0x1FFFFFFu) | (uint32_t{static_cast<uint8_t>(beatClass)} & 3u) << 25 |
                        (uint32_t{formCode} & 31u) << 27};
    }
};

}  // namespace lumen
