// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/draw/geometry.h"

namespace lumen {

// A sheet the report is printed on: its size in 0.01 mm and, when known,
// its name for the print system (a PWG media name).
struct PaperSize {
    Size hundredthMm{21000, 29700};
    std::string media = "iso_a4_210x297mm";

    static PaperSize a4() { return {}; }
    static PaperSize letter() { return {Size{21590, 27940}, "na_letter_8.5x11in"}; }
    // "a4" or "letter", in any case; nullopt for anything else.
    static std::optional<PaperSize> named(std::string_view name);
};

}  // namespace lumen
