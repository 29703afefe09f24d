// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumen {

// Calendar fields of a file time, without local-time correction (UTC).
struct FileTime {
    int32_t year = 0;
    int32_t month = 0;  // 1..12
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

// The full path of the running program's file; empty when unknown.
std::string programPath();

// The last-write time of a file; nothing when it cannot be read.
std::optional<FileTime> fileWriteTime(const std::string& path);

// Where a bare program name is found: the current directory, then each
// directory of the search path. A name with a slash is taken as it is.
std::optional<std::string> findProgram(std::string_view name);

// Sets a variable of this process's environment, which the programs it
// starts inherit; false when it cannot be set.
bool setEnvironmentVariable(std::string_view name, std::string_view value);
// A variable of this process's environment; nothing when it is not set.
std::optional<std::string> environmentVariable(std::string_view name);

// Starts a program by name as a separate process, without waiting for it
// and without leaving it as our child. False when it cannot be found.
bool startProgram(std::string_view name);
// The same with arguments, each passed whole (no shell, no word splitting).
bool startProgram(std::string_view name, const std::vector<std::string>& arguments);

}  // namespace lumen
