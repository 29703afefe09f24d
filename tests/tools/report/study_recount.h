#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/report/hrv_recount.h"

namespace lumen {

// Lowest, mean and highest block rate (whole beats per minute) and where
// the extremes lie; none when no block has a rate.
struct RateRecount {
    std::optional<int64_t> min;
    std::optional<int64_t> minTick;
    int64_t mean = 0;
    std::optional<int64_t> max;
    std::optional<int64_t> maxTick;
};

struct EctopyRecount {
    int64_t total = 0;
    int64_t isolated = 0;
    int64_t couplets = 0;
    int64_t runs = 0;
    int64_t longestRunBeats = 0;
    int64_t bigeminy = 0;
    int64_t tachycardias = 0;
    int64_t fastestRunRate = 0;
};

struct PauseRecount {
    int64_t count = 0;
    int64_t longestMs = 0;
    int64_t longestTick = 0;
};

struct FibrillationRecount {
    double burdenPercent = 0.0;
    int64_t episodes = 0;
    double longestSeconds = 0.0;  // the records keep tenths of a second
    int64_t meanRate = 0;
};

// ST levels in µV; none for a channel without a level.
struct StRecount {
    std::optional<double> min;
    std::optional<int64_t> minTick;
    std::optional<double> max;
    std::optional<int64_t> maxTick;
};

struct HourRecount {
    std::string hour;  // "HH:00"
    int64_t beats = 0;
    int64_t hrMin = 0;
    int64_t hrMean = 0;
    int64_t hrMax = 0;
    int64_t ventricular = 0;
    int64_t couplets = 0;
    int64_t ventricularRuns = 0;
    int64_t supraventricular = 0;
    int64_t supraventricularRuns = 0;
    int64_t pauses = 0;
    double fibrillationMinutes = 0.0;
};

// Every number of the study report, counted again from what the recording
// stores, by the definitions of docs/report.md.
struct StudyRecount {
    std::optional<std::string> startDate;
    std::string startClock;
    int64_t durationSeconds = 0;
    int64_t analysedSeconds = 0;
    int64_t beats = 0;
    std::array<int64_t, 4> beatsByClass{};  // N, S, V, A
    RateRecount heartRate;
    EctopyRecount ventricular;
    EctopyRecount supraventricular;
    PauseRecount pauses;
    FibrillationRecount fibrillation;
    std::array<StRecount, 2> st;
    HrvRecount hrv;
    std::vector<HourRecount> hours;
    int64_t flaggedEvents = 0;
    int64_t strips = 0;
};

// programDirectory ends with the separator, as a Recording wants it.
StudyRecount recount(const std::string& programDirectory, const std::string& recordingDirectory);

}  // namespace lumen
