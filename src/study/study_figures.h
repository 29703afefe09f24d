// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assembly/calendar_date.h"

namespace lumen {

// The heart rate of the report: one rate per stretch of time, extremes over
// the stretches the reviewer did not exclude (docs/report.md).
struct HeartRateFigures {
    int32_t minimum = 0;
    int32_t minimumTick = 0;
    int32_t mean = 0;
    int32_t maximum = 0;
    int32_t maximumTick = 0;
    bool valid() const { return maximum > 0; }
};

// The trains of one kind of ectopic beat: ventricular or supraventricular.
struct EctopyFigures {
    int64_t total = 0;
    int64_t isolated = 0;
    int64_t couplets = 0;
    int64_t runs = 0;          // 3 to 7 beats
    int64_t tachycardias = 0;  // 8 beats or more
    int64_t bigeminy = 0;
    int32_t longestRunBeats = 0;
    int32_t longestRunTick = 0;
    int32_t fastestRunRate = 0;
    int32_t fastestRunTick = 0;
};

struct PauseFigures {
    int64_t count = 0;
    int32_t longestMs = 0;
    int32_t longestTick = 0;
};

struct FibrillationFigures {
    double burdenPercent = 0.0;
    int64_t episodes = 0;
    double longestSeconds = 0.0;
    int32_t meanRate = 0;
};

// A channel's ST extremes in µV; nullopt when the channel has no level.
struct StFigures {
    std::optional<double> minimumMicrovolts;
    int32_t minimumTick = 0;
    std::optional<double> maximumMicrovolts;
    int32_t maximumTick = 0;
};

struct VariabilityFigures {
    double sdnnMs = 0.0;
    double sdannMs = 0.0;
    double sdnnIndexMs = 0.0;
    double rmssdMs = 0.0;
    double pnn50Percent = 0.0;
    double lfMs2 = 0.0;
    double hfMs2 = 0.0;
    double lfHfRatio = 0.0;
    int64_t normalIntervals = 0;
};

// One clock hour of the hourly table.
struct HourFigures {
    int32_t clockHour = 0;  // 0..23
    int64_t beats = 0;
    int32_t heartRateMinimum = 0;
    int32_t heartRateMean = 0;
    int32_t heartRateMaximum = 0;
    int64_t ventricular = 0;
    int64_t couplets = 0;
    int64_t ventricularRuns = 0;
    int64_t supraventricular = 0;
    int64_t supraventricularRuns = 0;
    int64_t pauses = 0;
    double fibrillationMinutes = 0.0;
};

// A report prints at most this many strips (40 pages of them): a reviewer
// flags a handful, a damaged recording may claim thousands.
inline constexpr int64_t kMostStudyStrips = 120;

// Every number of the study report.
struct StudyFigures {
    std::optional<CalendarDate> startDate;
    int32_t startTickOfDay = 0;
    int64_t durationSeconds = 0;
    int64_t analysedSeconds = 0;
    std::array<int64_t, 4> beatsByClass{};  // N, S, V, A
    int64_t beats = 0;
    HeartRateFigures heartRate;
    EctopyFigures ventricular;
    EctopyFigures supraventricular;
    PauseFigures pauses;
    FibrillationFigures fibrillation;
    std::array<StFigures, 2> st;
    VariabilityFigures variability;
    std::vector<HourFigures> hours;
    int64_t flaggedEvents = 0;  // the "To printer" row
    int64_t strips = 0;         // ... as many as are printed
};

}  // namespace lumen
