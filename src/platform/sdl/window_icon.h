// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace lumen {

// The program's icon (data/lumen.svg: a heart and one beat on millimetre
// paper) drawn at `side` x `side` pixels, ARGB premultiplied, row by row;
// the window manager shows it in the task bar and the title bar.
struct WindowIcon {
    int side = 0;
    std::vector<uint32_t> pixels;
};

WindowIcon drawWindowIcon(int side);

}  // namespace lumen
