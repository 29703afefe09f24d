// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen {

// One entry of the signal code table: the sample difference value - 255 is
// sent as `lengthBits` bits whose binary number is `code`, first bit most
// significant.
struct CodeEntry {
    int32_t value = 0;
    int32_t lengthBits = 0;
    int32_t code = 0;
};

inline constexpr int kCodeTableEntries = 511;
inline constexpr int kMaxCodeBits = 12;

// The table in file order. The decoders rely on that order: the scan that
// defines decoding stops at the first entry longer than the code + 1.
using CodeTable = std::array<CodeEntry, kCodeTableEntries>;

enum class CodeTableStatus { Ok, FileNotFound, FileError };

// Reads huffman.ko2 exactly as the viewer always has: 511 triples scanned
// with the widths 3, 2 and 4, end of file after any triple being an error.
CodeTableStatus readCodeTable(const std::string& path, CodeTable& table);

// Loads the table or ends the program with the file's message.
CodeTable loadCodeTable(std::string_view programDirectory);

// The text form of huffman.ko2: one "value length code" line per entry.
std::string formatCodeTable(const CodeTable& table);

}  // namespace lumen
