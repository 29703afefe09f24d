// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/study_json.h"

#include <cstdio>

#include "lang/json_text.h"
#include "store/beat_word.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr int kMillisecondDecimals = 2;
constexpr int kPercentDecimals = 2;
constexpr int kPowerDecimals = 3;

void ectopy(JsonText& json, std::string_view key, const EctopyFigures& e, bool withBigeminy) {
    json.beginObject(key)
        .number("total", e.total)
        .number("isolated", e.isolated)
        .number("couplets", e.couplets)
        .number("runs", e.runs)
        .number("longestRunBeats", e.longestRunBeats)
        .number("longestRunTick", e.longestRunTick)
        .number("fastestRunRate", e.fastestRunRate)
        .number("fastestRunTick", e.fastestRunTick);
    if (withBigeminy) json.number("bigeminy", e.bigeminy);
    json.number("tachycardias", e.tachycardias).endObject();
}

void stChannel(JsonText& json, std::string_view key, const StFigures& st) {
    json.beginObject(key);
    if (st.minimumMicrovolts)
        json.decimal("min", *st.minimumMicrovolts, kMillisecondDecimals).number("minTick", st.minimumTick);
    else
        json.null("min").null("minTick");
    if (st.maximumMicrovolts)
        json.decimal("max", *st.maximumMicrovolts, kMillisecondDecimals).number("maxTick", st.maximumTick);
    else
        json.null("max").null("maxTick");
    json.string("unit", "uV").endObject();
}

void variability(JsonText& json, const VariabilityFigures& v) {
    json.beginObject("hrv")
        .decimal("sdnn", v.sdnnMs, kMillisecondDecimals)
        .decimal("sdann", v.sdannMs, kMillisecondDecimals)
        .decimal("sdnnIndex", v.sdnnIndexMs, kMillisecondDecimals)
        .decimal("rmssd", v.rmssdMs, kMillisecondDecimals)
        .decimal("pnn50", v.pnn50Percent, kPercentDecimals)
        .decimal("lf", v.lfMs2, kPowerDecimals)
        .decimal("hf", v.hfMs2, kPowerDecimals)
        .decimal("lfHf", v.lfHfRatio, kPowerDecimals)
        .number("normalIntervals", v.normalIntervals)
        .endObject();
}

void hours(JsonText& json, const std::vector<HourFigures>& rows) {
    json.beginArray("hours");
    for (const HourFigures& h : rows) {
        char hour[8];
        std::snprintf(hour, sizeof hour, "%02d:00", h.clockHour);
        json.beginObject()
            .string("hour", hour)
            .number("beats", h.beats)
            .number("hrMin", h.heartRateMinimum)
            .number("hrMean", h.heartRateMean)
            .number("hrMax", h.heartRateMaximum)
            .number("V", h.ventricular)
            .number("couplets", h.couplets)
            .number("vRuns", h.ventricularRuns)
            .number("S", h.supraventricular)
            .number("svRuns", h.supraventricularRuns)
            .number("pauses", h.pauses)
            .decimal("afMinutes", h.fibrillationMinutes, kPercentDecimals)
            .endObject();
    }
    json.endArray();
}

}  // namespace

std::string StudyJson::clockText(int64_t tickOfDay) {
    const int64_t t = ((tickOfDay % kTicksPerDay) + kTicksPerDay) % kTicksPerDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(t / kTicksPerHour),
                  static_cast<int>(t / kTicksPerMinute % 60), static_cast<int>(t / kTicksPerSecond % 60));
    return text;
}

std::string StudyJson::text(const StudyFigures& f) {
    JsonText json;
    json.beginObject();
    if (f.startDate)
        json.string("startDate", f.startDate->iso());
    else
        json.null("startDate");
    json.string("startClock", clockText(f.startTickOfDay))
        .number("durationSeconds", f.durationSeconds)
        .number("analysedSeconds", f.analysedSeconds);
    json.beginObject("beats").number("total", f.beats);
    for (size_t c = 0; c < f.beatsByClass.size(); ++c)
        json.number(std::string(1, kBeatClassLetters[c]), f.beatsByClass[c]);
    json.endObject();
    json.beginObject("heartRate")
        .number("min", f.heartRate.minimum)
        .number("minTick", f.heartRate.minimumTick)
        .number("mean", f.heartRate.mean)
        .number("max", f.heartRate.maximum)
        .number("maxTick", f.heartRate.maximumTick)
        .endObject();
    ectopy(json, "ventricular", f.ventricular, true);
    ectopy(json, "supraventricular", f.supraventricular, false);
    json.beginObject("pauses")
        .number("count", f.pauses.count)
        .number("longestMs", f.pauses.longestMs)
        .number("longestTick", f.pauses.longestTick)
        .endObject();
    json.beginObject("atrialFibrillation")
        .decimal("burdenPercent", f.fibrillation.burdenPercent, kPercentDecimals)
        .number("episodes", f.fibrillation.episodes)
        .decimal("longestSeconds", f.fibrillation.longestSeconds, 1)
        .number("meanRate", f.fibrillation.meanRate)
        .endObject();
    json.beginObject("st");
    stChannel(json, "channel1", f.st[0]);
    stChannel(json, "channel2", f.st[1]);
    json.endObject();
    variability(json, f.variability);
    hours(json, f.hours);
    json.number("flaggedEvents", f.flaggedEvents).number("strips", f.strips).endObject();
    return json.text();
}

}  // namespace lumen
