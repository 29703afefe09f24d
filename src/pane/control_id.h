// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The owner-drawn buttons of the main window, by control id. The thousands
// say which pane holds them: 1xxx the event browser, 2xxx the ECG pane,
// 3xxx the title pane.
enum class ControlId : uint32_t {
    AutoStep = 1000,
    RemoveEvent = 1001,
    PreviousEvent = 1002,
    NextEvent = 1003,
    PrintReport = 1007,
    Exit = 1008,
    LabelNormal = 2001,
    LabelVentricular = 2002,
    LabelArtefact = 2004,
    NextAmplitude = 2011,
    NextSpeed = 2012,
    PreviousBeat = 2013,
    NextBeat = 2014,
    TitleHidden = 3001,
};

constexpr uint32_t controlNumber(ControlId id) { return static_cast<uint32_t>(id); }

}  // namespace lumen
