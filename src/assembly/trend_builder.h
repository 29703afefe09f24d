// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "assembly/rhythm_plan.h"
#include "assembly/stored_signal.h"
#include "store/amplitude_code.h"
#include "store/trend_table.h"

namespace lumen {

// A table byte of no ST value, as the unsigned bytes of TrendTables hold it.
inline constexpr uint8_t kStNoValue = static_cast<uint8_t>(TrendTable::kNoSt);

// The per-block tables the analysis writes, and its heart-rate extremes.
struct TrendTables {
    std::vector<uint8_t> heartRate;
    std::vector<uint8_t> st1;  // signed bytes, 0.4/64 mV units
    std::vector<uint8_t> st2;
    std::vector<uint8_t> flags;
    int32_t minimumBlock = 0;
    int32_t maximumBlock = 0;
};

// Computes the trend tables from the beats and the stored signal: the heart
// rate from the mean of the last eight usable RR intervals, the ST level from
// the normal beats of each block (100 ms after the R peak against the PR
// segment 80 ms before it).
class TrendBuilder {
public:
    // unitsPerMv: the signal's scale (51 for amplitude code 3).
    static TrendTables build(const RhythmPlan& plan, const StoredSignal& signal,
                             double unitsPerMv = kFinestUnitsPerMillivolt);

    // The ST level in table units of one beat at sample s, from one channel.
    static double beatStUnits(const std::vector<uint8_t>& channel, int32_t sample);

private:
    static void buildHeartRate(const RhythmPlan& plan, TrendTables& t);
    static void buildSt(const RhythmPlan& plan, const StoredSignal& signal, TrendTables& t, double unitsPerMv);
    static void findExtremes(TrendTables& t);
};

}  // namespace lumen
