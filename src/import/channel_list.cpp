// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/channel_list.h"

#include <algorithm>

#include "import/import_error.h"

namespace lumen {

std::vector<std::string> ChannelList::parse(const std::string& text, const std::string& sourceName) {
    std::vector<std::string> names;
    if (text.empty()) return names;
    for (size_t at = 0;;) {
        const size_t comma = text.find(',', at);
        const std::string name = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (name.empty()) {
            throw ImportError(sourceName, "--channels \"" + text +
                                              "\" has an empty channel name; give one or two names or numbers "
                                              "separated by a comma, as in --channels MLII,V5");
        }
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            throw ImportError(sourceName, "--channels \"" + text + "\" names \"" + name +
                                              "\" twice; name two different channels, or one alone");
        }
        names.push_back(name);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    if (names.size() > kMaxNames) {
        throw ImportError(sourceName, "--channels names " + std::to_string(names.size()) +
                                          " channels, but a Holter recording holds two; name one or two of them");
    }
    return names;
}

}  // namespace lumen
