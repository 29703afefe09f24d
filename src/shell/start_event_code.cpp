// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/start_event_code.h"

#include <array>
#include <utility>

namespace lumen {
namespace {

constexpr std::array<std::pair<int32_t, int32_t>, 17> kCodeRows = {{
    {103, 0}, {104, 1}, {105, 2}, {106, 3}, {107, 10}, {108, 4}, {110, 5}, {111, 6}, {112, 7},
    {113, 11}, {114, 9}, {115, 8}, {116, 14}, {118, 15}, {119, 17}, {250, 12}, {251, 13},
}};

}  // namespace

int32_t rowOfStartEventCode(int32_t code) {
    for (const auto& [known, row] : kCodeRows) {
        if (known == code) return row;
    }
    return kTimeScaleRow;
}

int32_t startEventCodeOfRow(int32_t row) {
    for (const auto& [code, known] : kCodeRows) {
        if (known == row) return code;
    }
    return kTimeScaleStartCode;
}

}  // namespace lumen
