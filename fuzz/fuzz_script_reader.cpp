// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a headless input script: parsed into actions or an error
// naming the line, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/headless/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const lumen::Script script = lumen::ScriptReader::parse(text);
    // A bad line rejects the whole script.
    if (script.error && !script.actions.empty()) __builtin_trap();
    for (size_t end = text.find(' '); end != std::string_view::npos && end < 32; end = text.find(' ', end + 1)) {
        (void)lumen::ScriptReader::keyFromName(text.substr(0, end));
    }
    return 0;
}
