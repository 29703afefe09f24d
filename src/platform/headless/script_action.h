// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/window/message.h"

namespace lumen {

enum class ScriptVerb : uint8_t {
    Key,
    Click,
    RightClick,
    Press,
    Move,
    Release,
    Button,
    Wait,
    Answer,
    Shot,
    Dump,
    Size,
    Message,
    Close,
    Drop,
    Choose,
    Forms,      // opens or closes the forms view
    Form,       // selects form K
    FormClass,  // gives form K class C
    FormMove    // moves the selected beat to form K
};

// Modifier bits of a `key` action.
inline constexpr uint8_t modifierCtrl = 1;
inline constexpr uint8_t modifierShift = 2;
inline constexpr uint8_t modifierAlt = 4;

// One line of an input script. Only the fields of its verb are meaningful.
struct ScriptAction {
    ScriptVerb verb = ScriptVerb::Close;
    int32_t lineNumber = 0;
    uint32_t virtualKey = 0;    // Key
    uint8_t modifiers = 0;      // Key
    Point point;                // Click, RightClick, Press, Move, Release (main window client)
    uint32_t number = 0;        // Button: control id; Message: message number; Form*: the form's id
    uint8_t beatClass = 0;      // FormClass: 0 N, 1 S, 2 V, 3 A
    uint64_t milliseconds = 0;  // Wait
    int32_t answer = 0;         // Answer: IDOK, IDYES or IDNO
    WParam sizeKind = 0;        // Size: SIZE_*
    std::string path;           // Shot, Dump, Drop, Choose
    bool cancelled = false;     // Choose: `choose cancel`
};

struct ScriptError {
    int32_t lineNumber = 0;
    std::string message;
};

struct Script {
    std::vector<ScriptAction> actions;
    std::optional<ScriptError> error;  // the first bad line; actions are then empty
};

}  // namespace lumen
