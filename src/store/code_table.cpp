// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/code_table.h"

#include <cstdio>
#include <memory>

#include "store/fatal_error.h"
#include "store/plain_file.h"

namespace lumen {

CodeTableStatus readCodeTable(const std::string& path, CodeTable& table) {
    PlainFile file(openPlainFile(path, "rb"));
    if (!file) return CodeTableStatus::FileNotFound;
    table = CodeTable{};
    for (CodeEntry& entry : table) {
        // A field that does not scan keeps its value; only the end of the
        // file after an entry counts as an error, so the file needs at least
        // one character after its last number.
        std::fscanf(file.get(), "%3d", &entry.value);
        std::fscanf(file.get(), "%2d", &entry.lengthBits);
        std::fscanf(file.get(), "%4d", &entry.code);
        if (std::feof(file.get())) return CodeTableStatus::FileError;
    }
    return CodeTableStatus::Ok;
}

CodeTable loadCodeTable(std::string_view programDirectory) {
    CodeTable table{};
    const std::string path = std::string(programDirectory) + "huffman.ko2";
    switch (readCodeTable(path, table)) {
    case CodeTableStatus::Ok:
        break;
    case CodeTableStatus::FileNotFound:
        raiseFatal("File not found \"huffman.ko2\" !");
    case CodeTableStatus::FileError:
        raiseFatal("File error \"huffman.ko2\" !");
    }
    return table;
}

std::string formatCodeTable(const CodeTable& table) {
    std::string text;
    text.reserve(table.size() * 12);
    char line[48];
    for (const CodeEntry& entry : table) {
        std::snprintf(line, sizeof line, "%d %d %d\n", entry.value, entry.lengthBits, entry.code);
        text += line;
    }
    return text;
}

}  // namespace lumen
