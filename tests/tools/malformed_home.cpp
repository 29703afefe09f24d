// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/malformed_home.h"

#include <filesystem>
#include <sstream>

namespace lumen::testing {

uint32_t readU24(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
}

void writeU24(std::span<uint8_t> bytes, size_t at, uint32_t value) {
    for (size_t k = 0; k < 3; ++k) bytes[at + k] = static_cast<uint8_t>(value >> (8 * k));
}

MalformedHome::Entry MalformedHome::entry(uint8_t id) const {
    const std::vector<uint8_t> bytes = image();
    for (size_t i = 0; i < bytes[0]; ++i) {
        const size_t at = 1 + 16 * i;
        if (bytes[at] == id) return Entry{at, readU24(bytes, at + 6), readU24(bytes, at + 9)};
    }
    return Entry{};
}

void MalformedHome::setEntry(uint8_t id, std::optional<uint32_t> length, std::optional<uint32_t> offset) const {
    std::vector<uint8_t> bytes = image();
    const Entry place = entry(id);
    if (length) writeU24(bytes, place.at + 6, *length);
    if (offset) writeU24(bytes, place.at + 9, *offset);
    setImage(bytes);
}

void MalformedHome::cutAt(size_t size) const {
    std::vector<uint8_t> bytes = image();
    bytes.resize(size);
    setImage(bytes);
}

void MalformedHome::editSection(uint8_t id, const std::function<void(std::span<uint8_t>)>& edit) const {
    std::vector<uint8_t> bytes = image();
    const Entry place = entry(id);
    edit(std::span(bytes).subspan(place.offset, place.length));
    setImage(bytes);
}

void MalformedHome::editBeats(const std::function<void(std::vector<uint32_t>&)>& edit) const {
    std::vector<uint8_t> bytes = image();
    const Entry place = entry(21);
    std::vector<uint32_t> words(place.length / 4);
    for (size_t i = 0; i < words.size(); ++i) {
        const size_t at = place.offset + 4 * i;
        words[i] = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t{bytes[at + 3]} << 24);
    }
    edit(words);
    for (size_t i = 0; i < words.size(); ++i) {
        for (size_t k = 0; k < 4; ++k) bytes[place.offset + 4 * i + k] = static_cast<uint8_t>(words[i] >> (8 * k));
    }
    writeU24(bytes, place.at + 6, static_cast<uint32_t>(4 * words.size()));
    setImage(bytes);
}

void MalformedHome::editEpisodes(const std::function<void(std::span<uint8_t, 12>)>& edit) const {
    editSection(19, [&](std::span<uint8_t> records) {
        for (size_t at = 0; at + 12 <= records.size(); at += 12) edit(records.subspan(at).first<12>());
    });
}

void MalformedHome::editCodeTable(const std::function<std::string(int, int, int, int)>& edit) const {
    std::istringstream in(text("huffman.ko2"));
    std::string out;
    int value = 0;
    int length = 0;
    int code = 0;
    for (int index = 0; in >> value >> length >> code; ++index) out += edit(index, value, length, code);
    write("huffman.ko2", out);
}

void MalformedHome::replaceByFolder(const std::string& name) const {
    std::filesystem::remove(path(name));
    std::filesystem::create_directory(path(name));
}

ToolRun runHolter(const TempHome& home, const std::string& arguments) {
    // A file of its own for every run: Wine may close the last run's handles a
    // moment after the run has ended.
    static int runs = 0;
    const std::string err = home.path("holter-err" + std::to_string(++runs) + ".txt");
    const CommandRun run = runCommand(std::string(LUMEN_HOLTER_PATH) + " " + arguments + " 2> " + err);
    return ToolRun{run.status, run.out, home.readText(err)};
}

}  // namespace lumen::testing
