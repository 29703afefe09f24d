// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_code_table.h"

#include <algorithm>

namespace lumen {
namespace {

constexpr std::array<EventCodeInfo, kCategoryRowCount> kCategories = {{
    {32, "VISO", "Ventricular Beat"},
    {33, "VCPL", "Ventricular Couplet"},
    {34, "VRUN", "Ventricular Run"},
    {35, "VBIG", "Ventricular Bigeminy"},
    {37, "VTCH", "Ventricular Tachycardia"},
    {48, "SVISO", "Supraventricular Beat"},
    {49, "SVCPL", "Supraventricular Couplet"},
    {50, "SVRUN", "Supraventricular Run"},
    {53, "SVTCH", "Supraventricular Tachycardia"},
    {52, "PAUSE", "Pause"},
    {36, "HRmin", "Heart Rate Minimum"},
    {51, "HRmax", "Heart Rate Maximum"},
    {60, "STmin", "ST minimum"},
    {61, "STmax", "ST maximum"},
    {84, "Manual", "Manual events"},
    {59, "Artefact", "Artefact"},
    {121, "Lead off", "Lead off"},
}};

constexpr std::array<int8_t, 128> buildRowOfCode() {
    std::array<int8_t, 128> rows{};
    rows.fill(-1);
    for (size_t r = 0; r < kCategories.size(); ++r) {
        rows[kCategories[r].code] = static_cast<int8_t>(r);
    }
    return rows;
}

constexpr std::array<int8_t, 128> kRowOfCode = buildRowOfCode();

}  // namespace

const EventCodeInfo& EventCodeTable::category(int32_t row) {
    return kCategories[static_cast<size_t>(std::clamp(row, 0, kCategoryRowCount - 1))];
}

int32_t EventCodeTable::rowOfCode(uint8_t code) {
    return kRowOfCode[code & 0x7Fu];
}

uint8_t EventCodeTable::extremeCodeOfRow(int32_t row) {
    return row >= kFirstExtremeRow && row <= kLastExtremeRow ? kCategories[static_cast<size_t>(row)].code : 0;
}

}  // namespace lumen
