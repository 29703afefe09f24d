// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lumen {

// What the desktop's "open a file" dialog offers: its title and the file
// patterns it shows under one name ("*.edf", "*.hea" as "Recordings").
struct OpenFileRequest {
    std::string title;
    std::vector<std::string> patterns;
    std::string patternName;
};

}  // namespace lumen
