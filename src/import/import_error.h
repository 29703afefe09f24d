// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <stdexcept>
#include <string>

namespace lumen {

// A source that cannot be made into a recording: the message names the file
// and what is wrong with it, ready for standard error.
class ImportError : public std::runtime_error {
public:
    ImportError(const std::string& file, const std::string& problem) : std::runtime_error(file + ": " + problem) {}
    // A message that already names its file.
    explicit ImportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace lumen
