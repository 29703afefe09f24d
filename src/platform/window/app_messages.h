#pragma once
#include <cstdint>

namespace lumen {

// The viewer's own window messages, in the range Windows leaves to each
// program: scripted input posts them for actions of the forms view that a
// script cannot reach by keys alone (a form by its id rather than its place).
inline constexpr uint32_t WM_APP = 0x8000;
inline constexpr uint32_t WM_APP_FORMS_VIEW = WM_APP + 1;      // opens or closes the forms view
inline constexpr uint32_t WM_APP_FORM_SELECT = WM_APP + 2;     // wParam: the form's id
inline constexpr uint32_t WM_APP_FORM_CLASS = WM_APP + 3;      // wParam: the form's id, lParam: its class 0..3
inline constexpr uint32_t WM_APP_FORM_MOVE_BEAT = WM_APP + 4;  // wParam: the form to move the selected beat to

}  // namespace lumen
