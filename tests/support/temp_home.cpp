// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_home.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "store/huffman_code_builder.h"

namespace lumen::testing {

TempHome::TempHome() {
    // A fresh folder of a random name: create_directory says whether it was new.
    std::random_device random;
    std::filesystem::path folder;
    do {
        folder = std::filesystem::temp_directory_path() / ("lumen-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(folder));
    directory_ = folder.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    std::filesystem::create_directory(recordingDirectory());
}

TempHome::~TempHome() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void TempHome::writeCodeTable(const CodeTable& table) const {
    writeText(path("huffman.ko2"), formatCodeTable(table));
}

void TempHome::writePathFile() const { writeText(path("path.tmp"), recordingDirectory() + "\n"); }

void TempHome::writeFile(const std::string& target, std::span<const uint8_t> bytes) const {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempHome::writeText(const std::string& target, const std::string& text) const {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<uint8_t> TempHome::readFile(const std::string& source) const {
    std::ifstream in(source, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TempHome::readText(const std::string& source) const {
    std::ifstream in(source);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CodeTable flatCodeTable() {
    std::array<uint64_t, kCodeTableEntries> frequencies{};
    // Small differences are the common ones in any ECG.
    for (int value = 0; value < kCodeTableEntries; ++value) {
        const int difference = value - 255;
        frequencies[static_cast<size_t>(value)] = static_cast<uint64_t>(100000 / (1 + difference * difference));
    }
    return HuffmanCodeBuilder::build(frequencies);
}

std::vector<uint8_t> bytePattern(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

}  // namespace lumen::testing
