// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The entries of a language record. Those marked "format" are printf
// formats whose conversions the comment lists, in order.
enum class TextId : int32_t {
    TimeScaleLabel = 0,
    TimeScaleName = 1,
    BeatStatistics = 2,  // format: ld, f, ld, f, ld, f
    StCaption = 3,       // format: s, f, d
    BrowserStatus = 4,   // format: ld, ld, d, d, d
    PatientLabel = 5,
    PleaseWait = 6,
    WaitMoment = 7,
    ReportPatient = 8,  // format: s
    ActualTotal = 9,
    Amplitude = 10,  // format: d
    Speed12_5 = 11,
    Speed25 = 12,
    Speed50 = 13,
    TimeAndRate = 14,    // format: d, d, d, d
    TimeWithoutRate = 15,  // format: d, d, d
    PrintQuestion = 16,
    PrintCaption = 17,
    DocumentName = 18,
    NoPrinter = 19,
    ErrorCaption = 20,
    ReportHeading = 21,
    ReportTitle = 22,
    EventDistribution = 23,
    SystemTitle = 24,
    ToPrinter = 25,
    Channel1Name = 26,
    Channel2Name = 27,
    Channel1Voltage = 28,  // format: f
    Channel2Voltage = 29,  // format: f
    RateUnit = 30,
};

}  // namespace lumen
