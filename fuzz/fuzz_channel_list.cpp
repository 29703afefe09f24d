// SPDX-License-Identifier: GPL-3.0-or-later
// The --channels list of an import: what it accepts is one or two names,
// none empty and none twice; everything else is refused with a message.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "import/channel_list.h"
#include "import/import_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<std::string> names = ChannelList::parse(text, "fuzz.edf");
        if (names.size() > ChannelList::kMaxNames || (text.empty() != names.empty())) __builtin_trap();
        for (const std::string& name : names)
            if (name.empty() || std::count(names.begin(), names.end(), name) != 1) __builtin_trap();
    } catch (const ImportError&) {
    }
    return 0;
}
