// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "events/extremes_source.h"

namespace lumen {

class BeatList;
class TrendTable;

// The recording's trend table as the catalog's source of extremes.
class TrendExtremes final : public ExtremesSource {
public:
    TrendExtremes(TrendTable& trends, const BeatList& beats) : trends_(trends), beats_(beats) {}

    void resetFlags() override;
    void rebuildHeartRate() override;
    void excludeExtreme(uint8_t code, EventSink& sink, int32_t positionTicks) override;

private:
    TrendTable& trends_;
    const BeatList& beats_;
};

}  // namespace lumen
