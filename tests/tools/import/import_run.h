// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/command_run.h"

namespace lumen {

// Standard output and error, and the exit status.
using ToolRun = testing::CommandRun;

// Runs the holter tool with the arguments (already quoted as needed).
ToolRun runHolter(const std::string& arguments);
// A whole number after "key": in a JSON text; -1 when absent.
long jsonNumber(const std::string& json, const std::string& key);
// The physionet folder of the shared data, or empty when it is absent.
std::filesystem::path physionetFolder();

// A minimal reading of a MIT-format annotation file, kept apart from the
// importer's reader so that the tests check it: (sample, mnemonic) of every
// annotation.
struct AtrEntry {
    int64_t sample;
    char mnemonic;
    int subtype;
};
std::vector<AtrEntry> readAtr(const std::filesystem::path& path);

// Maximal runs of one class letter (N S V A ...) in a string of the beats'
// classes with a length in [low, high]: the episodes counted independently
// of the rules' code.
long runs(const std::string& classes, char c, size_t low, size_t high);

}  // namespace lumen
