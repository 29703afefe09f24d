// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

namespace lumen {

// The --channels option of an import: one or two channel names or numbers,
// separated by a comma.
class ChannelList {
public:
    static constexpr size_t kMaxNames = 2;  // a recording holds two channels

    // An empty text names none (the reader chooses). Throws ImportError
    // naming `sourceName` for an empty name, more than two names or a name
    // given twice.
    static std::vector<std::string> parse(const std::string& text, const std::string& sourceName);
};

}  // namespace lumen
