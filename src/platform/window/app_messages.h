// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The viewer's own window messages, in the range Windows leaves to each
// program (from 0x8000): scripted input posts them for actions of the forms
// view that a script cannot reach by keys alone (a form by its id rather
// than by its place).
inline constexpr uint32_t kProgramMessageBase = 0x8000;
inline constexpr uint32_t kFormsViewMessage = kProgramMessageBase + 1;     // opens or closes the forms view
inline constexpr uint32_t kFormSelectMessage = kProgramMessageBase + 2;    // wParam: the form's id
inline constexpr uint32_t kFormClassMessage = kProgramMessageBase + 3;     // wParam: the form's id, lParam: class 0..3
inline constexpr uint32_t kFormMoveBeatMessage = kProgramMessageBase + 4;  // wParam: the form the selected beat joins

}  // namespace lumen
