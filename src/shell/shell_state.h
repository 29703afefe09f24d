// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "assembly/recording_sidecar.h"
#include "pane/control_id.h"
#include "platform/window/message.h"

namespace lumen {

// The fourteen buttons in the order the start-up creates them.
inline constexpr std::array<ControlId, 14> kButtonIds = {
    ControlId::RemoveEvent,   ControlId::PreviousEvent, ControlId::NextEvent,   ControlId::AutoStep,
    ControlId::PrintReport,   ControlId::Exit,          ControlId::LabelNormal, ControlId::LabelVentricular,
    ControlId::LabelArtefact, ControlId::NextAmplitude, ControlId::NextSpeed,   ControlId::PreviousBeat,
    ControlId::NextBeat,      ControlId::TitleHidden};

// The shell's own state: one instance for the whole run.
struct ShellState {
    std::string programDirectory;  // ends with '/'
    int32_t firstBlock = 0;        // first block held by the strip window
    int32_t printerIndex = 0;
    int32_t labelChangeState = 0;  // 0 unchanged, else the change kind 1 or 2
    int32_t labelChangeCount = 0;  // write-backs that reported change kind 1
    bool shuttingDown = false;
    bool decodeFailed = false;  // a block could not be decoded; the exit follows
    bool titleReplaced = false;
    std::string titleText;
    std::string patientLine;  // decoded to UTF-8, line break removed
    SourceNotes sourceNotes;  // what an imported recording's source said besides

    WindowHandle mainWindow;
    WindowHandle browserPane;
    WindowHandle ecgPane;
    WindowHandle titlePane;
    WindowHandle formsPane;  // in the event browser's place while the forms view is open
    std::array<WindowHandle, kButtonIds.size()> buttons{};

    WindowHandle button(ControlId id) const {
        for (size_t i = 0; i < kButtonIds.size(); ++i) {
            if (kButtonIds[i] == id) return buttons[i];
        }
        return {};
    }
};

}  // namespace lumen
