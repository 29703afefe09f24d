// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/headless/script_action.h"

namespace lumen {

// Reads the headless driver's input scripts: one action per line, `#` starts
// a comment, blank lines are skipped. Any text is accepted as input: a line
// that is not a valid action yields an error naming the line, never a crash.
class ScriptReader {
public:
    static Script parse(std::string_view text);
    // An unreadable file is an error on line 0.
    static Script readFile(const std::string& path);
    // Virtual-key code of a key name: a letter, a digit, or Left, Right, Up,
    // Down, PageUp, PageDown, Delete, Enter, Escape (any case).
    static std::optional<uint32_t> keyFromName(std::string_view name);
};

}  // namespace lumen
