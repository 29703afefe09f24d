// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/paper_size.h"

#include <algorithm>
#include <cctype>

namespace lumen {

std::optional<PaperSize> PaperSize::named(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "a4") {
        return a4();
    }
    if (lower == "letter") {
        return letter();
    }
    return std::nullopt;
}

}  // namespace lumen
