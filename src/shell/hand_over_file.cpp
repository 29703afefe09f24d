// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/hand_over_file.h"

#include <cstdio>
#include <initializer_list>
#include <memory>

#include "platform/file/utf8_path.h"
#include "store/plain_file.h"

namespace lumen {
namespace {

// Speeds and amplitudes the buttons know; any other stored value would
// draw the strip at one setting while the buttons and the report name
// another, so it counts as the default.
int32_t knownOrDefault(long value, std::initializer_list<long> known, int32_t fallback) {
    for (const long k : known) {
        if (value == k) return static_cast<int32_t>(value);
    }
    return fallback;
}

}  // namespace

std::optional<HandOver> readHandOver(const std::string& path) {
    PlainFile file(openPlainFile(path, "rt"));
    if (!file) return std::nullopt;
    HandOver values;
    long position = values.position;
    int changed = values.changed;
    int code = values.startEventCode;
    long speed = values.pixelsPerSample;
    long amplitude = values.amplitudeStep;
    // Each scan stops at the first value that is not there; the rest keep
    // their defaults.
    if (std::fscanf(file.get(), "%ld", &position) == 1 && std::fscanf(file.get(), "%d", &changed) == 1 &&
        std::fscanf(file.get(), "%d", &code) == 1 && std::fscanf(file.get(), "%ld", &speed) == 1) {
        std::fscanf(file.get(), "%ld", &amplitude);
    }
    values.position = static_cast<int32_t>(position);
    values.changed = changed;
    values.startEventCode = code;
    values.pixelsPerSample = knownOrDefault(speed, {1, 2, 4}, HandOver{}.pixelsPerSample);
    values.amplitudeStep = knownOrDefault(amplitude, {1, 2, 3}, HandOver{}.amplitudeStep);
    return values;
}

bool writeHandOver(const std::string& path, const HandOver& values) {
    PlainFile file(openFile(path, "wt"));
    if (!file) return false;
    const int written =
        std::fprintf(file.get(), "%ld\n%d\n%d\n%d\n%d\n", static_cast<long>(values.position), values.changed,
                     values.startEventCode, values.pixelsPerSample, values.amplitudeStep);
    return written > 0 && std::fflush(file.get()) == 0;
}

}  // namespace lumen
