// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace lumen {

// Rows of the event browser, top to bottom: the categories (code table
// order below), then the to-printer row and the time scale.
inline constexpr int32_t kCategoryRowCount = 17;
inline constexpr int32_t kPauseRow = 9;
inline constexpr int32_t kHeartRateMinimumRow = 10;
inline constexpr int32_t kHeartRateMaximumRow = 11;
inline constexpr int32_t kStMinimumRow = 12;
inline constexpr int32_t kStMaximumRow = 13;
inline constexpr int32_t kManualRow = 14;
inline constexpr int32_t kArtefactRow = 15;
inline constexpr int32_t kLeadOffRow = 16;
inline constexpr int32_t kToPrinterRow = 17;
inline constexpr int32_t kTimeScaleRow = 18;
inline constexpr int32_t kFirstExtremeRow = kHeartRateMinimumRow;
inline constexpr int32_t kLastExtremeRow = kStMaximumRow;
inline constexpr uint8_t kToPrinterFlag = 0x80;

struct EventCodeInfo {
    uint8_t code;  // annotation code without the to-printer flag
    std::string_view shortName;
    std::string_view longName;
};

// The seventeen event categories in row order (not in code order) and the
// row that each annotation code goes to.
class EventCodeTable {
public:
    static const EventCodeInfo& category(int32_t row);  // row 0..16, clamped
    // Row of the low seven bits of a code, or -1 when they name no category.
    static int32_t rowOfCode(uint8_t code);
    // The code an extreme row stands for (36, 51, 60, 61), else 0.
    static uint8_t extremeCodeOfRow(int32_t row);
};

}  // namespace lumen
