// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace lumen {

// doef.mem: five numbers exchanged with the program that starts the viewer.
// Read at start-up (start position in ticks from the recording start), written
// at exit (first shown block in seconds from midnight of the start day).
struct HandOver {
    static constexpr int32_t kMissingCode = -1;

    int32_t position = 0;
    int32_t changed = 0;
    int32_t startEventCode = kMissingCode;  // a missing code opens the time scale
    int32_t pixelsPerSample = 2;
    int32_t amplitudeStep = 2;
};

// Values that do not scan keep their defaults, and so do a speed other than
// 1, 2 or 4 and an amplitude other than 1, 2 or 3; nullopt when the file
// cannot be opened.
std::optional<HandOver> readHandOver(const std::string& path);
bool writeHandOver(const std::string& path, const HandOver& values);

}  // namespace lumen
