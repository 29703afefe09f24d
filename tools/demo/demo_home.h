// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumen {

struct DemoOptions {
    std::string directory;  // the program home to create
    int hours = 24;         // 1 to 24
    uint32_t seed = 1;
    int language = 2;      // 1 to 13 except 6
    bool replace = false;  // write over a program home there (its own files only)
};

enum class DemoStatus {
    Ok,
    InvalidHours,
    InvalidLanguage,
    UnusablePath,  // blank in the path, or longer than path.tmp allows
    Refused,       // a home not to be replaced, another folder, or a recording a viewer has open
    WriteFailed,
    TooLarge,  // would not fit the 24-bit offsets of holter.mem
};

struct DemoResult {
    DemoStatus status = DemoStatus::Ok;
    std::string summary;             // one line: what was written, or what went wrong
    std::vector<std::string> notes;  // what replacing an old home did besides
};

// Creates options.directory as a complete program home: huffman.ko2,
// color.ini, TBcolor.ini, doef.mem, path.tmp and recording/holter.mem,
// recording/forms.mem with a synthetic Holter recording, swapped in whole
// (see HomeSwap). The same options always give byte-identical files.
DemoResult writeDemoHome(const DemoOptions& options);

}  // namespace lumen
