#pragma once

#include <cstdint>
#include <string>

namespace lumen {

// Message box flags and answers (desktop values).
inline constexpr uint32_t MB_OK = 0x00;
inline constexpr uint32_t MB_YESNO = 0x04;
inline constexpr uint32_t MB_ICONERROR = 0x10;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONINFORMATION = 0x40;
inline constexpr uint32_t MB_TYPEMASK = 0x0F;
inline constexpr uint32_t MB_ICONMASK = 0xF0;

inline constexpr int32_t IDOK = 1;
inline constexpr int32_t IDCANCEL = 2;
inline constexpr int32_t IDYES = 6;
inline constexpr int32_t IDNO = 7;

// The box that is open, as a state dump reports it.
struct MessageBoxInfo {
    std::string caption;
    std::string text;
    uint32_t flags = 0;
};

}  // namespace lumen
