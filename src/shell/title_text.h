// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace lumen {

// The build stamp of a program file: YYMMDD of its last write, in UTC.
// Empty when the file cannot be read.
std::string buildStamp(const std::string& programFilePath);

// The main window's title: the language's system title, a blank, the
// version, a hyphen and the stamp; empty without a stamp.
std::string titleText(std::string_view systemTitle, const std::string& stamp);

}  // namespace lumen
