#pragma once
#include <cstdint>
#include <string>

namespace lumen {

struct DemoOptions {
    std::string directory;  // the program home to create
    int hours = 24;         // 1 to 24
    uint32_t seed = 1;
    int language = 2;       // 1 to 13 except 6
};

enum class DemoStatus {
    Ok,
    InvalidHours,
    InvalidLanguage,
    UnusablePath,  // blank in the path, or longer than path.tmp allows
    WriteFailed,
    TooLarge,      // would not fit the 24-bit offsets of holter.mem
};

struct DemoResult {
    DemoStatus status = DemoStatus::Ok;
    std::string summary;  // one line: what was written, or what went wrong
};

// Creates options.directory as a complete program home: huffman.ko2,
// color.ini, TBcolor.ini, doef.mem, path.tmp and recording/holter.mem,
// recording/forms.mem with a synthetic Holter recording. The same options
// always give byte-identical files.
DemoResult writeDemoHome(const DemoOptions& options);

}  // namespace lumen
