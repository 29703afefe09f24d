// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/code_table.h"

namespace lumen::testing {

// A throw-away program home: a folder with huffman.ko2 and path.tmp, and the
// recording folder `recording/` beside them. Removed when it goes out of scope.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    // The program directory, ending with the system's separator ('/', or
    // '\\' on Windows, as the programs write their folders there).
    const std::string& programDirectory() const { return directory_; }
    std::string recordingDirectory() const { return directory_ + "recording"; }
    std::string path(const std::string& name) const { return directory_ + name; }
    std::string recordingPath(const std::string& name) const { return recordingDirectory() + "/" + name; }

    void writeCodeTable(const CodeTable& table) const;
    void writePathFile() const;
    void writeFile(const std::string& path, std::span<const uint8_t> bytes) const;
    void writeText(const std::string& path, const std::string& text) const;
    std::vector<uint8_t> readFile(const std::string& path) const;
    // A text file as the system's text mode reads it (CR LF as "\n" on
    // Windows), so that text compares the same on every system.
    std::string readText(const std::string& path) const;

private:
    std::string directory_;
};

// Bytes that differ from their neighbours and from another seed's: stand-ins
// for a recording's contents.
std::vector<uint8_t> bytePattern(size_t count, uint8_t seed);

// A code table built from flat difference statistics: every difference coded.
CodeTable flatCodeTable();

}  // namespace lumen::testing
