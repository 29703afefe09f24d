// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "platform/window/win32_names.h"

namespace lumen {

// The box that is open, as a state dump reports it.
struct MessageBoxInfo {
    std::string caption;
    std::string text;
    uint32_t flags = 0;
};

}  // namespace lumen
