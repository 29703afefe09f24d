// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lumen {

// How one way of showing a file dialog ended. `Unavailable` (no portal, no
// such program, it could not start) lets the next way be tried; a cancel
// is the user's answer and ends the choice.
enum class ChooserOutcome : uint8_t { Chosen, Cancelled, Unavailable };

struct ChooserAnswer {
    ChooserOutcome outcome = ChooserOutcome::Unavailable;
    std::string path;  // UTF-8, when chosen
};

}  // namespace lumen
